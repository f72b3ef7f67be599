#include "FormMsgBox1.h"

#include "platform/Suono.h"

#include <QDir>
#include <QFormLayout>
#include <QVBoxLayout>

FormMsgBox1::FormMsgBox1(const QString& cartellaProgramma, bool& visualizzaSmsArrivati,
                         QWidget* parent)
    : QDialog(parent)
    , cartellaProgramma_(cartellaProgramma)
    , visualizzaSmsArrivati_(visualizzaSmsArrivati)
    , guardia_(this) {
    setObjectName(QStringLiteral("FormMsgBox1"));
    setWindowTitle(QStringLiteral("Testo SMS ricevuto inviato dal Cliente"));

    auto* layout = new QVBoxLayout(this);
    auto* nuovo = new QLabel(QStringLiteral("Nuovo SMS Arrivato!"), this);
    nuovo->setObjectName(QStringLiteral("LblNuovoSms"));
    QFont grassetto = nuovo->font();
    grassetto.setPointSize(grassetto.pointSize() + 4);
    grassetto.setBold(true);
    nuovo->setFont(grassetto);
    nuovo->setAccessibleName(nuovo->text());
    auto* lettura = new QLabel(QStringLiteral("Lettura Effettuata Con Successo"), this);
    lettura->setObjectName(QStringLiteral("LblLettura"));
    lettura->setAccessibleName(lettura->text());
    layout->addWidget(nuovo);
    layout->addWidget(lettura);

    auto* campi = new QFormLayout;
    auto crea = [&](const char* nome, const QString& didascalia) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(nome));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto* etichetta = new QLabel(didascalia, this);
        etichetta->setBuddy(l);
        // A field is found by its label, without the colon a reader would read out.
        l->setAccessibleName(didascalia.endsWith(QLatin1Char(':')) ? didascalia.chopped(1)
                                                                   : didascalia);
        campi->addRow(etichetta, l);
        return l;
    };
    Label2 = crea("Label2", QStringLiteral("Numero:"));
    Label3 = crea("Label3", QStringLiteral("Nome:"));
    Label4 = crea("Label4", QStringLiteral("Data:"));
    Label5 = crea("Label5", QStringLiteral("Ora:"));
    Label6 = crea("Label6", QStringLiteral("Testo:"));
    Label6->setWordWrap(true);
    Label6->setMinimumWidth(360);
    layout->addLayout(campi);

    Command1[0] = new QPushButton(QStringLiteral("Ok"), this);
    Command1[0]->setObjectName(QStringLiteral("Command1_0"));
    Command1[0]->setAccessibleName(Command1[0]->text());
    Command1[0]->setDefault(true);
    layout->addWidget(Command1[0], 0, Qt::AlignRight);
    connect(Command1[0], &QPushButton::clicked, this,
            guardia_.Proteggi([this] { Command1_Click(0); }));

    // The sound comes first: the notice appears once it has played.
    Suona();
}

void FormMsgBox1::Suona() {
    Suono::RiproduciSincrono(QDir(cartellaProgramma_).filePath(QStringLiteral("notify.wav")));
}

void FormMsgBox1::Command1_Click(int index) {
    if (index != 0)
        return;
    visualizzaSmsArrivati_ = true;
    hide();
}
