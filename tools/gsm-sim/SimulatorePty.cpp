#include "SimulatorePty.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
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

SimulatorePty::SimulatorePty(QObject* parent)
    : QObject(parent) {}

SimulatorePty::~SimulatorePty() {
    chiudi();
}

bool SimulatorePty::apri(const QString& percorsoCollegamento, QString* errore) {
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

void SimulatorePty::chiudi() {
    delete lettura_;
    lettura_ = nullptr;
    delete scrittura_;
    scrittura_ = nullptr;
    delete timerRimandato_;
    timerRimandato_ = nullptr;
    automatico_ = false;
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
    codaUscita_.clear();
}

void SimulatorePty::servi() {
    if (master_ < 0)
        return;
    accoda(modem_.rimandato());
    scriviCoda();
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            ricevuti_ += n;
            accoda(modem_.ricevi(QByteArray(buf, n)));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read
    }
    scriviCoda();
    if (automatico_ && modem_.haRimandato())
        timerRimandato_->start(ritardoRimandato_);
}

void SimulatorePty::avviaAutomatico() {
    if (master_ < 0 || automatico_)
        return;
    automatico_ = true;
    lettura_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(lettura_, &QSocketNotifier::activated, this, &SimulatorePty::servi);
    scrittura_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    scrittura_->setEnabled(false);
    connect(scrittura_, &QSocketNotifier::activated, this, &SimulatorePty::scriviCoda);
    // Late enough that the program's framing sees the second half as a piece of its own.
    timerRimandato_ = new QTimer(this);
    timerRimandato_->setSingleShot(true);
    connect(timerRimandato_, &QTimer::timeout, this, [this] {
        accoda(modem_.rimandato());
        scriviCoda();
    });
    servi();
}

bool SimulatorePty::attendiByte(qint64 totaleRicevuto, int msMassimi) {
    const QDeadlineTimer scadenza(msMassimi);
    for (;;) {
        servi();
        if (ricevuti_ >= totaleRicevuto)
            return true;
        const qint64 resta = scadenza.remainingTime();
        if (resta <= 0 || master_ < 0)
            return false;
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, int(resta));
    }
}

void SimulatorePty::accoda(const QByteArray& byte) {
    if (codaUscita_.size() + byte.size() <= kMassimoCodaUscita)
        codaUscita_ += byte;
}

void SimulatorePty::scriviCoda() {
    while (!codaUscita_.isEmpty() && master_ >= 0) {
        const ssize_t n = ::write(master_, codaUscita_.constData(), size_t(codaUscita_.size()));
        if (n > 0) {
            inviati_ += n;
            codaUscita_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: the rest waits for the next call
    }
    if (scrittura_)
        scrittura_->setEnabled(!codaUscita_.isEmpty());
}
