#include "ConnessioneCopia.h"

#include "archive/ChiaveArchivio.h"
#include "platform/PermessiCondivisi.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>
#include <utility>

ConnessioneCopia::ConnessioneCopia(const QString& percorso, Modo modo) {
    const QByteArray nome = QFile::encodeName(percorso);
    if (modo == Modo::Nuovo) {
        // Made here and only here: two copies of the same minute never share a file.
        const int fd = ::open(nome.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            errore_ = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        PermessiCondivisi::Applica(fd, percorso, PermessiCondivisi::Copia);
        ::close(fd);
    }
    const int flag = modo == Modo::Lettura ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(nome.constData(), &db_, flag, nullptr) != SQLITE_OK) {
        errore_ = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_close_v2(db_);
        db_ = nullptr;
        if (modo == Modo::Nuovo)
            ::unlink(nome.constData());
        return;
    }
    sqlite3_extended_result_codes(db_, 1);
    ChiaveArchivio::Applica(db_);
}

ConnessioneCopia::~ConnessioneCopia() {
    sqlite3_close_v2(db_);
}

ConnessioneCopia::ConnessioneCopia(ConnessioneCopia&& altra) noexcept
    : db_(std::exchange(altra.db_, nullptr))
    , errore_(std::move(altra.errore_)) {}

sqlite3* ConnessioneCopia::Rilascia() {
    return std::exchange(db_, nullptr);
}
