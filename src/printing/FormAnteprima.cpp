#include "FormAnteprima.h"

#include "RapportoBande.h"
#include "StampanteCorrente.h"
#include "platform/MsgBox.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QVBoxLayout>

FormAnteprima::FormAnteprima(RapportoBande& rapporto, StampanteCorrente& stampante,
                             const QString& nomeDocumento, QWidget* parent)
    : QDialog(parent)
    , rapporto_(rapporto)
    , stampante_(stampante)
    , nomeDocumento_(nomeDocumento)
    , guardia_(this) {
    setWindowTitle(nomeDocumento);
    // The preview shows the page of the printer it will print on, without touching its output.
    const auto destinazione = stampante_.Prepara(nomeDocumento);
    stampanteAnteprima_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    stampanteAnteprima_->setOutputFormat(QPrinter::PdfFormat);
    stampanteAnteprima_->setPageLayout(destinazione->pageLayout());
    stampanteAnteprima_->setFullPage(true);

    Anteprima = new QPrintPreviewWidget(stampanteAnteprima_.get(), this);
    Anteprima->setObjectName(QStringLiteral("Anteprima"));
    Anteprima->setAccessibleName(QStringLiteral("Anteprima"));
    Anteprima->setAccessibleDescription(nomeDocumento);
    connect(Anteprima, &QPrintPreviewWidget::paintRequested, this,
            guardia_.Proteggi([this](QPrinter* p) { rapporto_.Stampa(*p); }));
    BtnStampa = new QPushButton(QStringLiteral("Stampa"), this);
    BtnStampa->setObjectName(QStringLiteral("BtnStampa"));
    BtnStampa->setAccessibleName(BtnStampa->text());
    BtnChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    BtnChiudi->setObjectName(QStringLiteral("BtnChiudi"));
    BtnChiudi->setAccessibleName(BtnChiudi->text());
    connect(BtnStampa, &QPushButton::clicked, this,
            guardia_.Proteggi([this] { BtnStampa_Click(); }));
    connect(BtnChiudi, &QPushButton::clicked, this,
            guardia_.Proteggi([this] { BtnChiudi_Click(); }));

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(BtnStampa);
    pulsanti->addStretch();
    pulsanti->addWidget(BtnChiudi);
    auto* colonna = new QVBoxLayout(this);
    colonna->addLayout(pulsanti);
    colonna->addWidget(Anteprima, 1);

    if (const QScreen* schermo = QGuiApplication::primaryScreen()) {
        const QRect area = schermo->availableGeometry();
        resize(area.width(), area.height() * 95 / 100);
        move(area.topLeft());
    }
    Anteprima->fitToWidth();
    Anteprima->updatePreview();
}

FormAnteprima::~FormAnteprima() = default;

bool FormAnteprima::BtnStampa_Click() {
    const auto stampante = stampante_.Prepara(nomeDocumento_);
    if (rapporto_.Stampa(*stampante) == 0) {
        MsgBox(QStringLiteral("La Stampante selezionata non è disponibile."), Stile::Esclamazione,
               QStringLiteral("Errore Stampa"), this);
        return false;
    }
    // Without a system printer the page went to a file: the user must know where to find it.
    if (!stampante_.UltimoFilePdf().isEmpty())
        MsgBox(QStringLiteral("Documento stampato nel file:\n") + stampante_.UltimoFilePdf(),
               Stile::Informazione, QStringLiteral("Informazione di Stampa"), this);
    return true;
}

void FormAnteprima::BtnChiudi_Click() {
    accept();
}

int FormAnteprima::Pagine() const {
    return Anteprima->pageCount();
}
