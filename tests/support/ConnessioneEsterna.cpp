#include "ConnessioneEsterna.h"

#include "archive/ChiaveArchivio.h"

#include <QFile>
#include <sqlite3.h>

ConnessioneEsterna::ConnessioneEsterna(const QString& percorso, const QByteArray& chiave) {
    sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db_,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (!chiave.isEmpty())
        ChiaveArchivio::Applica(db_, chiave);
}

ConnessioneEsterna::~ConnessioneEsterna() {
    sqlite3_close_v2(db_);
}

int ConnessioneEsterna::esegui(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
}

QVariant ConnessioneEsterna::valore(const char* sql) {
    sqlite3_stmt* s = nullptr;
    QVariant v;
    if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
        v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    return v;
}
