#include "VerificaCopia.h"

#include "ConnessioneCopia.h"
#include "archive/Archivio.h"
#include "archive/Schema.h"
#include "archive/SqlInterno.h"
#include "platform/ErroreRuntime.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace {

// The index check looks every row up in its indexes: a large cache keeps each page decrypted
// once instead of once per lookup.
constexpr const char* kCacheVerifica = "PRAGMA cache_size = -65536";

QString NonApribile(const QString& percorso) {
    return QStringLiteral("Il file \"%1\" non è una copia valida dell'archivio: non si apre con "
                          "la password del programma oppure è danneggiato.")
        .arg(percorso);
}

} // namespace

VerificaCopia::Esito VerificaCopia::Verifica(const QString& percorso,
                                             const QMap<QString, qint64>* attese,
                                             Controllo controllo) {
    Esito esito;
    const QFileInfo info(percorso);
    if (!info.isFile()) {
        esito.messaggio = QStringLiteral("Il file \"%1\" non esiste.").arg(percorso);
        return esito;
    }
    if (info.size() == 0) {
        esito.messaggio = QStringLiteral("Il file \"%1\" è vuoto.").arg(percorso);
        return esito;
    }

    const ConnessioneCopia c(percorso, ConnessioneCopia::Modo::Lettura);
    if (!c.Aperta()) {
        esito.messaggio = NonApribile(percorso);
        return esito;
    }

    try {
        QStringList presenti;
        Istruzione tabelle(c.db(),
                           QStringLiteral("SELECT name FROM sqlite_master WHERE type = "
                                          "'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
        while (tabelle.passo())
            presenti << tabelle.colonna(0).toString();
        for (const QString& t : Archivio::Tabelle())
            if (!presenti.contains(t, Qt::CaseInsensitive)) {
                esito.messaggio =
                    QStringLiteral("Nella copia \"%1\" manca la tabella %2.").arg(percorso, t);
                return esito;
            }

        sqlite3_exec(c.db(), kCacheVerifica, nullptr, nullptr, nullptr);
        Istruzione esame(c.db(), controllo == Controllo::Completo
                                     ? QStringLiteral("PRAGMA integrity_check(5)")
                                     : QStringLiteral("PRAGMA quick_check(5)"));
        QStringList problemi;
        while (esame.passo())
            problemi << esame.colonna(0).toString();
        if (problemi != QStringList{QStringLiteral("ok")}) {
            esito.messaggio =
                QStringLiteral("Il controllo di integrità della copia \"%1\" non è riuscito: %2")
                    .arg(percorso, problemi.join(QStringLiteral("; ")));
            return esito;
        }

        for (const QString& t : presenti) {
            Istruzione conta(c.db(), QStringLiteral("SELECT count(*) FROM %1").arg(Cita(t)));
            conta.passo();
            esito.righe.insert(t, conta.intero(0));
            conta.azzera();
        }
    } catch (const ErroreRuntime&) {
        esito.messaggio = NonApribile(percorso);
        return esito;
    }

    if (attese) {
        for (auto it = attese->cbegin(); it != attese->cend(); ++it) {
            const qint64 trovate = esito.righe.value(it.key(), -1);
            if (trovate != it.value()) {
                esito.messaggio = QStringLiteral("Nella copia \"%1\" la tabella %2 ha %3 righe, "
                                                 "l'archivio ne aveva %4.")
                                      .arg(percorso, it.key())
                                      .arg(trovate < 0 ? 0 : trovate)
                                      .arg(it.value());
                return esito;
            }
        }
    }
    esito.valida = true;
    return esito;
}

QString VerificaCopia::Riassunto(const QMap<QString, qint64>& righe) {
    return QStringLiteral("%1 clienti, %2 SMS in attesa, %3 SMS archiviati")
        .arg(righe.value(Tabella::Clienti))
        .arg(righe.value(Tabella::SmsTemporanei))
        .arg(righe.value(Tabella::SMS));
}
