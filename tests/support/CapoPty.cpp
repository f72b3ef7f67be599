#include "CapoPty.h"

#include <QDir>
#include <QFile>
#include <poll.h>
#include <unistd.h>

CapoPty::CapoPty() {
    QString errore;
    if (!pty_.apri(QString(), &errore))
        qWarning("pseudo-terminale: %s", qPrintable(errore));
}

bool CapoPty::collega(const QString& cartellaProgramma, int numero) const {
    QDir cartella(cartellaProgramma);
    cartella.mkpath(QStringLiteral("porte"));
    return QFile::link(dispositivo(), cartella.filePath(QStringLiteral("porte/COM%1").arg(numero)));
}

void CapoPty::scrivi(const QByteArray& byte) const {
    qsizetype scritti = 0;
    for (int giri = 0; giri < 100 && scritti < byte.size(); ++giri) {
        const ssize_t n = ::write(fd(), byte.constData() + scritti, size_t(byte.size() - scritti));
        if (n > 0)
            scritti += n;
        else
            ::usleep(1000);
    }
}

QByteArray CapoPty::leggi(const QByteArray& fine) {
    int silenzio = 0;
    const qsizetype prima = ricevuti_.size();
    for (int giri = 0; giri < 100; ++giri) {
        if (!fine.isEmpty() && ricevuti_.size() > prima && ricevuti_.endsWith(fine))
            break;
        pollfd p{fd(), POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0) {
            if (++silenzio >= 10)
                break;
            continue;
        }
        silenzio = 0;
        char buf[4096];
        const ssize_t n = ::read(fd(), buf, sizeof buf);
        if (n > 0)
            ricevuti_.append(buf, n);
    }
    return ricevuti_;
}
