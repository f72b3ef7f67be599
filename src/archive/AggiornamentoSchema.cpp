#include "AggiornamentoSchema.h"

#include "ErroriArchivio.h"
#include "SchemaArchivio.h"
#include "SqlInterno.h"

#include <sqlite3.h>

namespace {

qint64 Numero(sqlite3* db, const QString& sql) {
    Istruzione q(db, sql);
    return q.passo() ? q.intero(0) : 0;
}

QStringList Colonne(sqlite3* db, const QString& tabella) {
    QStringList nomi;
    Istruzione info(db, QStringLiteral("PRAGMA table_info(%1)").arg(Cita(tabella)));
    while (info.passo())
        nomi << info.colonna(1).toString();
    return nomi;
}

QStringList Tabelle(sqlite3* db) {
    QStringList nomi;
    Istruzione q(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                    "name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    while (q.passo())
        nomi << q.colonna(0).toString();
    return nomi;
}

bool HaRighe(sqlite3* db) {
    for (const QString& t : Tabelle(db))
        if (Numero(db, QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(Cita(t))))
            return true;
    return false;
}

ErroreRuntime NonAggiornato(const QString& perche) {
    return {ErroreRuntime::ArchivioNonApribile,
            QStringLiteral("Impossibile aggiornare l'archivio alla versione di questo programma: "
                           "%1 L'archivio non è stato modificato.")
                .arg(perche)};
}

} // namespace

int AggiornamentoSchema::Versione(sqlite3* db) {
    const int versione = int(Numero(db, QStringLiteral("PRAGMA user_version")));
    if (versione > SchemaArchivio::Versione())
        throw ErroreRuntime(ErroreRuntime::FormatoNonRiconosciuto,
                            QStringLiteral("L'archivio è stato aggiornato da una versione più "
                                           "recente del programma: installare quella versione "
                                           "per aprirlo."));
    if (versione > 0)
        return versione;
    return Tabelle(db).isEmpty() ? 0 : SchemaArchivio::VersionePrimaConsegna;
}

bool AggiornamentoSchema::Applica(sqlite3* db, const std::function<void()>& copia) {
    const int da = Versione(db);
    const QList<PassoSchema>& passi = SchemaArchivio::Passi();
    if (da == passi.size())
        return false;
    if (HaRighe(db)) {
        try {
            copia();
        } catch (const ErroreRuntime& e) {
            QString perche = e.Description().trimmed();
            if (!perche.endsWith(QLatin1Char('.')))
                perche += QLatin1Char('.');
            throw NonAggiornato(
                QStringLiteral("la copia di sicurezza da fare prima non è riuscita. %1")
                    .arg(perche));
        }
    }

    int passo = da;
    try {
        Esegui(db, "BEGIN IMMEDIATE");
        for (; passo < passi.size(); ++passo) {
            const PassoSchema& p = passi[passo];
            for (const QString& istruzione : p.Istruzioni(Colonne(db, p.tabella)))
                Esegui(db, istruzione.toUtf8());
        }
        Esegui(db, QStringLiteral("PRAGMA user_version = %1").arg(passi.size()).toUtf8());
        Esegui(db, "COMMIT");
    } catch (const ErroreRuntime& e) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw NonAggiornato(QStringLiteral("il passo %1 di %2 non è riuscito (%3).")
                                .arg(passo + 1)
                                .arg(passi.size())
                                .arg(e.Description()));
    }
    return true;
}
