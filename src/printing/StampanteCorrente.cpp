#include "StampanteCorrente.h"

#include "platform/ErroreRuntime.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace {

// Millimetres are the one unit in which Qt keeps standard paper sizes exact (A4 is 595 × 842 in
// whole points, but 210 × 297 mm).
int twips(double millimetri) {
    return int(std::lround(millimetri * 1440 / 25.4));
}

// A document name made safe as a file name.
QString perNomeFile(QString nome) {
    static const QString vietati = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : nome) {
        if (vietati.contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    return nome.trimmed().isEmpty() ? QStringLiteral("Stampa") : nome.trimmed();
}

} // namespace

StampanteCorrente::StampanteCorrente(QString cartellaProgramma)
    : cartellaProgramma_(std::move(cartellaProgramma)) {}

StampanteCorrente::~StampanteCorrente() = default;

void StampanteCorrente::UsaPredefinita() {
    modo_ = Modo::Predefinita;
}

void StampanteCorrente::UsaStampante(const QString& nomeStampante) {
    modo_ = Modo::Sistema;
    nomeStampante_ = nomeStampante;
    paginaSistema_.reset();
}

void StampanteCorrente::UsaFilePdf(const QString& percorso, const QPageSize& pagina) {
    modo_ = Modo::FilePdf;
    filePdf_ = percorso;
    paginaPdf_ = pagina;
}

std::unique_ptr<QPrinter> StampanteCorrente::PerIlDialogo() const {
    const QString sistema = stampanteDiSistema();
    if (sistema.isEmpty()) {
        auto stampante = std::make_unique<QPrinter>(QPrinter::HighResolution);
        stampante->setOutputFormat(QPrinter::PdfFormat);
        stampante->setOutputFileName(
            modo_ == Modo::FilePdf
                ? filePdf_
                : QDir(cartellaProgramma_)
                      .filePath(NomeCartellaStampe() + QStringLiteral("/Stampa.pdf")));
        stampante->setPageSize(paginaPdf_);
        return stampante;
    }
    auto stampante =
        std::make_unique<QPrinter>(QPrinterInfo::printerInfo(sistema), QPrinter::HighResolution);
    if (paginaSistema_)
        stampante->setPageSize(*paginaSistema_);
    return stampante;
}

void StampanteCorrente::Imposta(const QPrinter& scelta) {
    const QPageSize pagina = scelta.pageLayout().pageSize();
    if (scelta.outputFormat() == QPrinter::PdfFormat) {
        if (scelta.outputFileName().trimmed().isEmpty())
            throw ErroreRuntime(ErroreRuntime::ErroreStampante,
                                QStringLiteral("Nessun file scelto per la stampa su file"));
        UsaFilePdf(scelta.outputFileName(), pagina);
        return;
    }
    if (QPrinterInfo::printerInfo(scelta.printerName()).isNull())
        throw ErroreRuntime(ErroreRuntime::ErroreStampante,
                            QStringLiteral("Stampante non trovata: ") + scelta.printerName());
    UsaStampante(scelta.printerName());
    paginaSistema_ = pagina;
}

QString StampanteCorrente::stampanteDiSistema() const {
    if (modo_ == Modo::FilePdf)
        return {};
    if (modo_ == Modo::Sistema && !QPrinterInfo::printerInfo(nomeStampante_).isNull())
        return nomeStampante_;
    return QPrinterInfo::defaultPrinter().printerName();
}

int StampanteCorrente::LarghezzaPaginaTwips() const {
    QPageSize pagina = paginaPdf_;
    const QString sistema = stampanteDiSistema();
    if (!sistema.isEmpty()) {
        QPrinter stampante(QPrinterInfo::printerInfo(sistema));
        if (modo_ == Modo::Sistema && paginaSistema_ && sistema == nomeStampante_)
            stampante.setPageSize(*paginaSistema_);
        return twips(stampante.pageLayout().fullRect(QPageLayout::Millimeter).width());
    }
    if (modo_ != Modo::FilePdf)
        pagina = QPageSize(QPageSize::A4);
    return twips(pagina.size(QPageSize::Millimeter).width());
}

QString StampanteCorrente::nuovoFileNellaCartella(const QString& nomeDocumento) const {
    QDir cartella(cartellaProgramma_);
    cartella.mkpath(NomeCartellaStampe());
    cartella.cd(NomeCartellaStampe());
    const QString base =
        perNomeFile(nomeDocumento) + QLatin1Char(' ') +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    QString percorso = cartella.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(percorso); ++n)
        percorso = cartella.filePath(base + QStringLiteral(" (%1).pdf").arg(n));
    return percorso;
}

std::unique_ptr<QPrinter> StampanteCorrente::Prepara(const QString& nomeDocumento) {
    const QString sistema = stampanteDiSistema();
    std::unique_ptr<QPrinter> stampante;
    if (!sistema.isEmpty()) {
        stampante = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(sistema),
                                               QPrinter::HighResolution);
        if (modo_ == Modo::Sistema && paginaSistema_ && sistema == nomeStampante_)
            stampante->setPageSize(*paginaSistema_);
        ultimoPdf_.clear();
    } else {
        stampante = std::make_unique<QPrinter>(QPrinter::HighResolution);
        stampante->setOutputFormat(QPrinter::PdfFormat);
        const bool fileScelto = modo_ == Modo::FilePdf;
        ultimoPdf_ = fileScelto ? filePdf_ : nuovoFileNellaCartella(nomeDocumento);
        stampante->setOutputFileName(ultimoPdf_);
        stampante->setPageSize(fileScelto ? paginaPdf_ : QPageSize(QPageSize::A4));
        stampante->setPageOrientation(QPageLayout::Portrait);
    }
    stampante->setDocName(nomeDocumento);
    stampante->setFullPage(true);
    return stampante;
}

QString StampanteCorrente::Descrizione() const {
    const QString sistema = stampanteDiSistema();
    if (!sistema.isEmpty())
        return sistema;
    if (modo_ == Modo::FilePdf)
        return filePdf_;
    return QDir(cartellaProgramma_).filePath(NomeCartellaStampe());
}
