#include "CreatoreArchivio.h"

#include "AggiornamentoSchema.h"
#include "ChiaveArchivio.h"
#include "ErroriArchivio.h"
#include "SqlInterno.h"

#include <QFile>
#include <sqlite3.h>

void CreatoreArchivio::Crea(const QString& percorsoArchivio, const QString& password) {
    // Claiming the name atomically is what guarantees that user data is never overwritten, even
    // by two builds running at once.
    {
        QFile nuovo(percorsoArchivio);
        if (!nuovo.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFile::exists(percorsoArchivio))
                throw ErroreRuntime(3204, QStringLiteral("Impossibile creare il database: il "
                                                         "file '%1' esiste già.")
                                              .arg(percorsoArchivio));
            throw ErroreRuntime(ErroreRuntime::ArchivioNonApribile,
                                QStringLiteral("Impossibile creare il file '%1': %2.")
                                    .arg(percorsoArchivio, nuovo.errorString()));
        }
    }

    sqlite3* db = nullptr;
    try {
        const int rc = sqlite3_open_v2(QFile::encodeName(percorsoArchivio).constData(), &db,
                                       SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK)
            throw ErroriArchivio::DaSqlite(db, rc);
        sqlite3_extended_result_codes(db, 1);
        ChiaveArchivio::Applica(db, password.toUtf8());
        // A new file holds no row, so no copy is due.
        AggiornamentoSchema::Applica(db, [] {});
        if (sqlite3_close(db) != SQLITE_OK)
            throw ErroriArchivio::DaSqlite(db, sqlite3_errcode(db));
        db = nullptr;
    } catch (...) {
        sqlite3_close_v2(db);
        QFile::remove(percorsoArchivio);
        QFile::remove(percorsoArchivio + QStringLiteral("-journal"));
        throw;
    }
}
