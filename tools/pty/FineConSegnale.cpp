#include "FineConSegnale.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int tuboSegnali[2] = {-1, -1};

// Only a write is safe inside a signal handler: the event loop does the rest.
void alSegnale(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(tuboSegnali[1], &c, 1);
}

} // namespace

bool FineConSegnale::Installa(QCoreApplication& app) {
    if (tuboSegnali[0] < 0 && ::pipe2(tuboSegnali, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction sa {};
    sa.sa_handler = alSegnale;
    ::sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGHUP, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    auto* segnali = new QSocketNotifier(tuboSegnali[0], QSocketNotifier::Read, &app);
    QObject::connect(segnali, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    return true;
}
