#include "SchedaSms.h"

#include "platform/Accessibile.h"
#include "platform/TestoInerte.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

SchedaSms::SchedaSms(const QString& nome, const QStringList& intestazioni,
                     const QStringList& didascalie, const QStringList& pulsanti, QWidget* parent)
    : QDialog(parent)
    , guardia_(this) {
    setObjectName(nome);
    setWindowTitle(QStringLiteral("Testo SMS ricevuto inviato dal Cliente"));

    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < intestazioni.size(); ++i) {
        auto* l = new QLabel(intestazioni[i], this);
        l->setObjectName(QStringLiteral("Intestazione%1").arg(i));
        l->setWordWrap(true);
        l->setAccessibleName(l->text());
        if (i == 0) {
            QFont grassetto = l->font();
            grassetto.setPointSize(grassetto.pointSize() + 4);
            grassetto.setBold(true);
            l->setFont(grassetto);
        }
        layout->addWidget(l);
    }

    auto* campi = new QFormLayout;
    QLabel** valori[] = {&Label2, &Label3, &Label4, &Label5, &Label6};
    for (int i = 0; i < 5; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 2));
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // A message or a name is shown as typed, and read out as the value it is.
        Accessibile::Valore(l);
        auto* etichetta = new QLabel(didascalie.value(i), this);
        etichetta->setObjectName(QStringLiteral("Didascalia%1").arg(i + 2));
        Accessibile::Didascalia(etichetta, l);
        campi->addRow(etichetta, l);
        *valori[i] = l;
    }
    Label6->setWordWrap(true);
    Label6->setMinimumWidth(360);
    layout->addLayout(campi);

    auto* riga = new QHBoxLayout;
    riga->addStretch();
    for (int i = 0; i < pulsanti.size(); ++i) {
        auto* b = new QPushButton(pulsanti[i], this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setAccessibleName(b->text());
        connect(b, &QPushButton::clicked, this,
                guardia_.Proteggi([this, i] { Command1_Click(i); }));
        riga->addWidget(b);
        Command1.append(b);
    }
    Command1.first()->setDefault(true);
    layout->addLayout(riga);
}

void SchedaSms::Riempi(const RigaListaSms& riga) {
    // The sender's number and text are a stranger's: shown as written, never as an effect.
    Label2->setText(TestoInerte::Rendi(riga.numero));
    Label3->setText(TestoInerte::Rendi(riga.nome));
    Label4->setText(riga.data);
    Label5->setText(riga.orario);
    Label6->setText(TestoInerte::Rendi(riga.testo));
}

void SchedaSms::Command1_Click(int index) {
    premuto_ = index >= 0 && index < Command1.size() ? index : -1;
    done(QDialog::Accepted);
}

void SchedaSms::reject() {
    premuto_ = -1;
    QDialog::reject();
}
