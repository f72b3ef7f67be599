#include "PseudoTerminale.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString erroreSistema(const QString& cosa) {
    return cosa + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

QString destinazioneCollegamento(const QByteArray& percorso) {
    char buf[4096];
    const ssize_t n = ::readlink(percorso.constData(), buf, sizeof buf - 1);
    if (n < 0)
        return {};
    return QString::fromLocal8Bit(buf, n);
}

} // namespace

PseudoTerminale::~PseudoTerminale() {
    chiudi();
}

bool PseudoTerminale::apri(const QString& percorsoCollegamento, QString* errore) {
    const auto fallisci = [&](const QString& messaggio) {
        if (errore)
            *errore = messaggio;
        chiudi();
        return false;
    };
    chiudi();

    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return fallisci(erroreSistema(QStringLiteral("Impossibile aprire uno pseudo-terminale")));
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return fallisci(erroreSistema(QStringLiteral("Pseudo-terminale non utilizzabile")));
    const char* nome = ::ptsname(master_);
    if (!nome)
        return fallisci(erroreSistema(QStringLiteral("Pseudo-terminale senza nome")));
    dispositivo_ = QString::fromLocal8Bit(nome);

    // Held for the whole life of the simulator: the program may close and reopen the port
    // without the master ever seeing a hang-up, and the line settings survive in between.
    slaveTenuto_ = ::open(nome, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slaveTenuto_ < 0)
        return fallisci(erroreSistema(QStringLiteral("Impossibile aprire ") + dispositivo_));
    // Raw, so that the line discipline neither echoes our answers back nor touches CR and LF.
    termios t{};
    if (::tcgetattr(slaveTenuto_, &t) != 0)
        return fallisci(erroreSistema(QStringLiteral("Impostazioni della linea illeggibili")));
    ::cfmakeraw(&t);
    if (::tcsetattr(slaveTenuto_, TCSANOW, &t) != 0 || ::tcsetattr(master_, TCSANOW, &t) != 0)
        return fallisci(erroreSistema(QStringLiteral("Impossibile impostare la linea")));
    const int flag = ::fcntl(master_, F_GETFL);
    if (flag < 0 || ::fcntl(master_, F_SETFL, flag | O_NONBLOCK) != 0)
        return fallisci(erroreSistema(QStringLiteral("Impossibile impostare la linea")));

    if (percorsoCollegamento.isEmpty())
        return true;
    const QString assoluto = QFileInfo(percorsoCollegamento).absoluteFilePath();
    const QByteArray percorso = QFile::encodeName(assoluto);
    if (!QDir().mkpath(QFileInfo(assoluto).absolutePath()))
        return fallisci(QStringLiteral("Impossibile creare la cartella di ") + assoluto);
    struct stat info {};
    if (::lstat(percorso.constData(), &info) == 0) {
        if (!S_ISLNK(info.st_mode))
            return fallisci(assoluto + QStringLiteral(" esiste già e non è un collegamento"));
        if (::unlink(percorso.constData()) != 0)
            return fallisci(erroreSistema(QStringLiteral("Impossibile sostituire ") + assoluto));
    }
    if (::symlink(nome, percorso.constData()) != 0)
        return fallisci(erroreSistema(QStringLiteral("Impossibile creare ") + assoluto));
    collegamento_ = assoluto;
    return true;
}

void PseudoTerminale::chiudi() {
    // Only our own link: another simulator may have taken the path over since.
    if (!collegamento_.isEmpty()) {
        const QByteArray percorso = QFile::encodeName(collegamento_);
        if (destinazioneCollegamento(percorso) == dispositivo_)
            ::unlink(percorso.constData());
        collegamento_.clear();
    }
    if (slaveTenuto_ >= 0)
        ::close(slaveTenuto_);
    if (master_ >= 0)
        ::close(master_);
    slaveTenuto_ = -1;
    master_ = -1;
}
