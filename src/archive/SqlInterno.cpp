#include "SqlInterno.h"

#include "ErroriArchivio.h"
#include "platform/Testo.h"

#include <sqlite3.h>

Istruzione::Istruzione(sqlite3* db, const QString& sql)
    : db_(db) {
    const QByteArray testo = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, testo.constData(), int(testo.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throw ErroriArchivio::DaSqlite(db, rc);
    }
}

Istruzione::~Istruzione() {
    sqlite3_finalize(stmt_);
}

Istruzione::Istruzione(Istruzione&& altra) noexcept
    : db_(altra.db_)
    , stmt_(std::exchange(altra.stmt_, nullptr)) {}

Istruzione& Istruzione::operator=(Istruzione&& altra) noexcept {
    if (this != &altra) {
        sqlite3_finalize(stmt_);
        db_ = altra.db_;
        stmt_ = std::exchange(altra.stmt_, nullptr);
    }
    return *this;
}

void Istruzione::lega(int indice, qint64 valore) {
    sqlite3_bind_int64(stmt_, indice, valore);
}

void Istruzione::lega(int indice, const QVariant& valore) {
    switch (valore.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        sqlite3_bind_null(stmt_, indice);
        return;
    case QMetaType::Bool:
        sqlite3_bind_int64(stmt_, indice, valore.toBool() ? 1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        sqlite3_bind_int64(stmt_, indice, valore.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt_, indice, valore.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = valore.toByteArray();
        sqlite3_bind_blob(stmt_, indice, b.isEmpty() ? "" : b.constData(), int(b.size()),
                          SQLITE_TRANSIENT);
        return;
    }
    default: {
        // A null QString is still a text: an empty field is stored as '' rather than NULL. Half a
        // character (a broken UCS2 message) is kept as U+FFFD, not as a "?" the sender never
        // wrote.
        const QByteArray t = Testo::CaratteriInteri(valore.toString()).toUtf8();
        sqlite3_bind_text(stmt_, indice, t.isEmpty() ? "" : t.constData(), int(t.size()),
                          SQLITE_TRANSIENT);
        return;
    }
    }
}

bool Istruzione::passo() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE) {
        sqlite3_reset(stmt_);
        return false;
    }
    ErroreRuntime errore = ErroriArchivio::DaSqlite(db_, rc);
    sqlite3_reset(stmt_);
    throw errore;
}

QVariant Istruzione::colonna(int indice) const {
    switch (sqlite3_column_type(stmt_, indice)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt_, indice)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, indice));
    case SQLITE_TEXT: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, indice));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(stmt_, indice)));
    }
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, indice));
        return QVariant(QByteArray(p, sqlite3_column_bytes(stmt_, indice)));
    }
    default:
        return QVariant();
    }
}

qint64 Istruzione::intero(int indice) const {
    return sqlite3_column_int64(stmt_, indice);
}

void Istruzione::azzera() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

QString Cita(const QString& identificatore) {
    QString s = identificatore;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

void Esegui(sqlite3* db, const QByteArray& sql) {
    char* messaggio = nullptr;
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &messaggio);
    sqlite3_free(messaggio);
    if (rc != SQLITE_OK)
        throw ErroriArchivio::DaSqlite(db, rc);
}
