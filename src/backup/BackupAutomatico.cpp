#include "BackupAutomatico.h"

#include "ImpostazioniBackup.h"

#include "archive/Archivio.h"
#include <algorithm>

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
    copia.Completa(LimiteChiusura);
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

VerificaCopia::Controllo BackupAutomatico::controlloDovuto() const {
    const QDate ultimo = ImpostazioniBackup::Leggi(cartellaProgramma_).ultimoControlloCompleto;
    const QDate oggi = Adesso().date();
    return !ultimo.isValid() || ultimo > oggi || ultimo.daysTo(oggi) >= GiorniControlloCompleto
               ? VerificaCopia::Controllo::Completo
               : VerificaCopia::Controllo::Rapido;
}

void BackupAutomatico::inizia() {
    if (!archivio_.Caricato())
        return;
    controllo_ = controlloDovuto();
    copia_ = std::make_unique<CopiaArchivio>(
        archivio_, ImpostazioniBackup::Leggi(cartellaProgramma_).Cartelle(cartellaProgramma_),
        Adesso(), controllo_);
    timer_.start(PausaMs);
}

void BackupAutomatico::concludi() {
    const QList<CopiaArchivio::EsitoCartella> esiti = copia_->Esiti();
    copia_.reset();
    timer_.start(ControlloMs);
    if (!attivo_)
        timer_.stop();
    const bool riuscita = !esiti.isEmpty() && esiti.first().riuscita;
    if (!riuscita) {
        // Tried again within the hour, not the next day.
        prossima_ = std::min(prossima_, Adesso().addSecs(RipresaSecondi));
    } else if (controllo_ == VerificaCopia::Controllo::Completo) {
        ImpostazioniBackup impostazioni = ImpostazioniBackup::Leggi(cartellaProgramma_);
        impostazioni.ultimoControlloCompleto = Adesso().date();
        impostazioni.Scrivi(cartellaProgramma_);
    }
    emit CopiaConclusa(esiti);
    avvisa(esiti);
}

void BackupAutomatico::avvisa(const QList<CopiaArchivio::EsitoCartella>& esiti) {
    QStringList testi;
    ImpostazioniBackup impostazioni = ImpostazioniBackup::Leggi(cartellaProgramma_);
    for (const CopiaArchivio::EsitoCartella& e : esiti) {
        if (e.riuscita)
            continue;
        // A missing stick and a full disk are told once a day: they last.
        QDate* ultimo = e.cartellaMancante      ? &impostazioni.ultimoAvvisoCartella
                        : e.spazioInsufficiente ? &impostazioni.ultimoAvvisoSpazio
                                                : nullptr;
        if (ultimo) {
            const QDate oggi = Adesso().date();
            if (*ultimo == oggi)
                continue;
            *ultimo = oggi;
            impostazioni.Scrivi(cartellaProgramma_);
        }
        if (!testi.contains(e.messaggio))
            testi << e.messaggio;
    }
    if (!testi.isEmpty())
        emit Avviso(testi.join(QStringLiteral("\n\n")));
}
