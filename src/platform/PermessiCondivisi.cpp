#include "PermessiCondivisi.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool PermessiCondivisi::Applica(int fd, const QString& percorso, mode_t modo) {
    // The group first: changing it may clear mode bits.
    bool ok = true;
    struct stat cartella {};
    struct stat file {};
    const QByteArray dir = QFile::encodeName(QFileInfo(percorso).absolutePath());
    if (::stat(dir.constData(), &cartella) == 0 && ::fstat(fd, &file) == 0 &&
        file.st_gid != cartella.st_gid)
        ok = ::fchown(fd, uid_t(-1), cartella.st_gid) == 0;
    return ::fchmod(fd, modo) == 0 && ok;
}

bool PermessiCondivisi::Applica(const QString& percorso, mode_t modo) {
    const int fd = ::open(QFile::encodeName(percorso).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = Applica(fd, percorso, modo);
    ::close(fd);
    return ok;
}
