#include "SimulatorePty.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

SimulatorePty::SimulatorePty(QObject* parent)
    : QObject(parent) {}

SimulatorePty::~SimulatorePty() {
    chiudi();
}

bool SimulatorePty::apri(const QString& percorsoCollegamento, QString* errore) {
    chiudi();
    return pty_.apri(percorsoCollegamento, errore);
}

void SimulatorePty::chiudi() {
    delete lettura_;
    lettura_ = nullptr;
    delete scrittura_;
    scrittura_ = nullptr;
    delete timerRimandato_;
    timerRimandato_ = nullptr;
    delete timerEsito_;
    timerEsito_ = nullptr;
    automatico_ = false;
    pty_.chiudi();
    codaUscita_.clear();
}

void SimulatorePty::servi() {
    if (pty_.master() < 0)
        return;
    accoda(modem_.rimandato());
    if (modem_.haEsitoInvio() && scadenzaEsito_.hasExpired())
        accoda(modem_.esitoInvio());
    scriviCoda();
    const bool esitoPrima = modem_.haEsitoInvio();
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(pty_.master(), buf, sizeof buf);
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
    if (modem_.haEsitoInvio() && !esitoPrima) {
        scadenzaEsito_.setRemainingTime(ritardoEsito_);
        if (automatico_)
            timerEsito_->start(ritardoEsito_);
    }
    if (automatico_ && modem_.haRimandato())
        timerRimandato_->start(ritardoRimandato_);
}

void SimulatorePty::impostaRitardoEsitoInvio(int ms) {
    ritardoEsito_ = std::max(ms, 0);
    modem_.impostaEsitoInvioRitardato(ms > 0);
}

void SimulatorePty::avviaAutomatico() {
    if (pty_.master() < 0 || automatico_)
        return;
    automatico_ = true;
    lettura_ = new QSocketNotifier(pty_.master(), QSocketNotifier::Read, this);
    connect(lettura_, &QSocketNotifier::activated, this, &SimulatorePty::servi);
    scrittura_ = new QSocketNotifier(pty_.master(), QSocketNotifier::Write, this);
    scrittura_->setEnabled(false);
    connect(scrittura_, &QSocketNotifier::activated, this, &SimulatorePty::scriviCoda);
    // Late enough that the program's framing sees the second half as a piece of its own.
    timerRimandato_ = new QTimer(this);
    timerRimandato_->setSingleShot(true);
    connect(timerRimandato_, &QTimer::timeout, this, [this] {
        accoda(modem_.rimandato());
        scriviCoda();
    });
    timerEsito_ = new QTimer(this);
    timerEsito_->setSingleShot(true);
    connect(timerEsito_, &QTimer::timeout, this, [this] {
        accoda(modem_.esitoInvio());
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
        if (resta <= 0 || pty_.master() < 0)
            return false;
        pollfd p{pty_.master(), POLLIN, 0};
        ::poll(&p, 1, int(resta));
    }
}

void SimulatorePty::accoda(const QByteArray& byte) {
    if (codaUscita_.size() + byte.size() <= kMassimoCodaUscita)
        codaUscita_ += byte;
}

void SimulatorePty::scriviCoda() {
    while (!codaUscita_.isEmpty() && pty_.master() >= 0) {
        const ssize_t n =
            ::write(pty_.master(), codaUscita_.constData(), size_t(codaUscita_.size()));
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
