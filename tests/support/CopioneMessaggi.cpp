#include "CopioneMessaggi.h"

CopioneMessaggi::CopioneMessaggi(QList<int> risposte)
    : risposte_(std::move(risposte)) {
    MsgBoxHook::Installa([this](const MessaggioMostrato& m) {
        mostrati_.append(m);
        return risposte_.isEmpty() ? RispostaPredefinita(m.style) : risposte_.takeFirst();
    });
}

CopioneMessaggi::~CopioneMessaggi() {
    MsgBoxHook::Rimuovi();
}

QStringList CopioneMessaggi::testi() const {
    QStringList t;
    for (const auto& m : mostrati_)
        t.append(m.prompt);
    return t;
}
