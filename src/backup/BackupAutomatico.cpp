#include "BackupAutomatico.h"

#include "ImpostazioniBackup.h"
#include "archive/Archivio.h"

BackupAutomatico::BackupAutomatico(Archivio& archivio, QString cartellaProgramma, QObject* parent)
    : QObject(parent)
    , archivio_(archivio)
    , cartellaProgramma_(std::move(cartellaProgramma)) {
    connect(&timer_, &QTimer::timeout, this, &BackupAutomatico::Passo);
}

BackupAutomatico::~BackupAutomatico() = default;

void BackupAutomatico::Avvia() {
    attivo_ = true;
    prossima_ = Adesso();
    timer_.start(PausaMs);
}

bool BackupAutomatico::CopiaOra() {
    if (copia_)
        return false;
    inizia();
    return copia_ != nullptr;
}

void BackupAutomatico::Sospendi() {
    attivo_ = false;
    copia_.reset();
    timer_.stop();
}

QList<CopiaArchivio::EsitoCartella> BackupAutomatico::CopiaDiChiusura() {
    copia_.reset();
    timer_.stop();
    attivo_ = false;
    if (!archivio_.Caricato())
        return {};
    CopiaArchivio copia(archivio_,
                        ImpostazioniBackup::Leggi(cartellaProgramma_).Cartelle(cartellaProgramma_),
                        Adesso());
    copia.Completa();
    const QList<CopiaArchivio::EsitoCartella> esiti = copia.Esiti();
    avvisa(esiti);
    return esiti;
}

void BackupAutomatico::Passo() {
    if (!copia_ && attivo_ && Adesso() >= prossima_) {
        // The next one a day after this one began, whatever its outcome: a failure is told
        // once, not at every check.
        prossima_ = Adesso().addDays(1);
        inizia();
    }
    if (copia_ && copia_->Passo(std::chrono::milliseconds(PassoMs)))
        concludi();
}

void BackupAutomatico::inizia() {
    if (!archivio_.Caricato())
        return;
    copia_ = std::make_unique<CopiaArchivio>(
        archivio_, ImpostazioniBackup::Leggi(cartellaProgramma_).Cartelle(cartellaProgramma_),
        Adesso());
    timer_.start(PausaMs);
}

void BackupAutomatico::concludi() {
    const QList<CopiaArchivio::EsitoCartella> esiti = copia_->Esiti();
    copia_.reset();
    timer_.start(ControlloMs);
    if (!attivo_)
        timer_.stop();
    emit CopiaConclusa(esiti);
    avvisa(esiti);
}

void BackupAutomatico::avvisa(const QList<CopiaArchivio::EsitoCartella>& esiti) {
    QStringList testi;
    ImpostazioniBackup impostazioni = ImpostazioniBackup::Leggi(cartellaProgramma_);
    for (const CopiaArchivio::EsitoCartella& e : esiti) {
        if (e.riuscita)
            continue;
        if (e.cartellaMancante) {
            const QDate oggi = Adesso().date();
            if (impostazioni.ultimoAvvisoCartella == oggi)
                continue;
            impostazioni.ultimoAvvisoCartella = oggi;
            impostazioni.Scrivi(cartellaProgramma_);
        }
        if (!testi.contains(e.messaggio))
            testi << e.messaggio;
    }
    if (!testi.isEmpty())
        emit Avviso(testi.join(QStringLiteral("\n\n")));
}
