#include "CopiaAggiornamento.h"

#include "CopiaArchivio.h"
#include "ImpostazioniBackup.h"
#include "platform/ErroreRuntime.h"

void CopiaAggiornamento::Esegui(Archivio& archivio, const QString& cartellaProgramma) {
    CopiaArchivio copia(archivio,
                        ImpostazioniBackup::Leggi(cartellaProgramma).Cartelle(cartellaProgramma),
                        QDateTime::currentDateTime(), VerificaCopia::Controllo::Completo);
    copia.Completa();
    const QList<CopiaArchivio::EsitoCartella>& esiti = copia.Esiti();
    if (esiti.isEmpty() || !esiti.constFirst().riuscita)
        throw ErroreRuntime(ErroreRuntime::ArchivioNonApribile,
                            esiti.isEmpty() ? QStringLiteral("la copia non è stata fatta.")
                                            : esiti.constFirst().messaggio);
}

std::function<void(Archivio&)> CopiaAggiornamento::Per(const QString& cartellaProgramma) {
    return [cartellaProgramma](Archivio& archivio) { Esegui(archivio, cartellaProgramma); };
}
