#include "ChiaveArchivio.h"

#include "Archivio.h"

#include <QFile>
#include <sqlite3.h>

namespace {

const char* Pragma(ChiaveArchivio::Formato formato) {
    return formato == ChiaveArchivio::Formato::Fissato ? "cipher_compatibility = 3"
                                                       : "cipher_compatibility = 4";
}

} // namespace

bool ChiaveArchivio::Applica(sqlite3* db, const QByteArray& chiave, Formato formato) {
    if (sqlite3_key(db, chiave.constData(), int(chiave.size())) != SQLITE_OK)
        return false;
    const QByteArray sql = QByteArray("PRAGMA ") + Pragma(formato);
    return sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool ChiaveArchivio::Applica(sqlite3* db) {
    return Applica(db, Archivio::Password().toUtf8());
}

int ChiaveArchivio::Attacca(sqlite3* db, const QString& percorso, const QString& nome) {
    // The file's name and the key are bound: a folder's name may hold a quote.
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QStringLiteral("ATTACH DATABASE ?1 AS \"%1\" KEY ?2").arg(nome).toUtf8();
    int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray file = QFile::encodeName(percorso);
        const QByteArray chiave = Archivio::Password().toUtf8();
        sqlite3_bind_text(st, 1, file.constData(), int(file.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, chiave.constData(), int(chiave.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(st) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_OK)
        return rc;
    // An attached file gets SQLCipher's defaults, not the main connection's settings.
    const QByteArray pragma =
        QStringLiteral("PRAGMA \"%1\".").arg(nome).toUtf8() + Pragma(Formato::Fissato);
    return sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
}
