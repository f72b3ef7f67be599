#include "ChiusuraDiSistema.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

ChiusuraDiSistema::ChiusuraDiSistema(QObject* parent)
    : QObject(parent) {
    int coppia[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, coppia) == 0) {
        scrittura_ = coppia[0];
        lettura_ = coppia[1];
        notifica_ = new QSocketNotifier(lettura_, QSocketNotifier::Read, this);
        connect(notifica_, &QSocketNotifier::activated, this, [this] {
            char c;
            if (::read(lettura_, &c, 1) > 0)
                emit Richiesta();
        });
        struct sigaction azione {};
        azione.sa_handler = &ChiusuraDiSistema::gestore;
        sigemptyset(&azione.sa_mask);
        azione.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &azione, nullptr);
    }
    // The session manager waits for this answer before it ends the session.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(
            app, &QGuiApplication::commitDataRequest, this, [this] { emit Richiesta(); },
            Qt::DirectConnection);
}

ChiusuraDiSistema::~ChiusuraDiSistema() {
    ::signal(SIGTERM, SIG_DFL);
    if (lettura_ >= 0) {
        delete notifica_;
        ::close(lettura_);
        ::close(scrittura_);
        scrittura_ = -1;
    }
}

void ChiusuraDiSistema::gestore(int) {
    const char c = 1;
    if (scrittura_ >= 0) [[maybe_unused]]
        const ssize_t scritto = ::write(scrittura_, &c, 1);
}
