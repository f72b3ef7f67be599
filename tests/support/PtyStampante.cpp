#include "PtyStampante.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyStampante::PtyStampante() {
    fd_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd_ < 0 || grantpt(fd_) != 0 || unlockpt(fd_) != 0)
        return;
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    tcsetattr(fd_, TCSANOW, &t);
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
    dispositivo_ = QString::fromLocal8Bit(ptsname(fd_));
    // Held open so that closing the port between documents is no hang-up for the master.
    tenuto_ = ::open(ptsname(fd_), O_RDWR | O_NOCTTY);
    if (tenuto_ >= 0) {
        termios s{};
        tcgetattr(tenuto_, &s);
        cfmakeraw(&s);
        tcsetattr(tenuto_, TCSANOW, &s);
    }
}

PtyStampante::~PtyStampante() {
    if (tenuto_ >= 0)
        ::close(tenuto_);
    if (fd_ >= 0)
        ::close(fd_);
}

bool PtyStampante::collega(const QString& cartellaProgramma, int numero) const {
    QDir cartella(cartellaProgramma);
    cartella.mkpath(QStringLiteral("porte"));
    return QFile::link(dispositivo_, cartella.filePath(QStringLiteral("porte/COM%1").arg(numero)));
}

QByteArray PtyStampante::leggi(const QByteArray& fine) {
    int silenzio = 0;
    const qsizetype prima = ricevuti_.size();
    for (int giri = 0; giri < 100; ++giri) {
        if (!fine.isEmpty() && ricevuti_.size() > prima && ricevuti_.endsWith(fine))
            break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0) {
            if (++silenzio >= 10)
                break;
            continue;
        }
        silenzio = 0;
        char buf[4096];
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n > 0)
            ricevuti_.append(buf, n);
    }
    return ricevuti_;
}
