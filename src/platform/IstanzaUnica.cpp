#include "IstanzaUnica.h"

#include "PermessiCondivisi.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

IstanzaUnica::IstanzaUnica(const QString& cartellaProgramma) {
    const QString percorso = QDir(cartellaProgramma).filePath(NomeFile());
    const QByteArray nome = QFile::encodeName(percorso);
    fd_ = ::open(nome.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) // a lock is taken on a file open for reading as well
        fd_ = ::open(nome.constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        // A folder nobody may write in holds no archive anyone could change: nothing to guard.
        acquisita_ = true;
        return;
    }
    // Every user of the shop's group opens the same file, whoever made it.
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && st.st_uid == ::geteuid())
        PermessiCondivisi::Applica(fd_, percorso, PermessiCondivisi::Condiviso);
    acquisita_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

IstanzaUnica::~IstanzaUnica() {
    if (fd_ >= 0)
        ::close(fd_);
}
