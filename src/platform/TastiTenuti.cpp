#include "TastiTenuti.h"

#include <QCoreApplication>
#include <QKeyEvent>

TastiTenuti::TastiTenuti() {
    QCoreApplication::instance()->installEventFilter(this);
}

TastiTenuti::~TastiTenuti() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool TastiTenuti::eventFilter(QObject* oggetto, QEvent* evento) {
    const auto tipo = evento->type();
    if (tipo != QEvent::KeyPress && tipo != QEvent::KeyRelease)
        return QObject::eventFilter(oggetto, evento);
    const auto* tasto = static_cast<QKeyEvent*>(evento);
    if (!tasto->isAutoRepeat()) {
        if (tipo == QEvent::KeyPress)
            premutiQui_.insert(tasto->key());
        else
            premutiQui_.remove(tasto->key());
        return QObject::eventFilter(oggetto, evento);
    }
    // A repeat of a key that went down before this window opened.
    if (!premutiQui_.contains(tasto->key()))
        return true;
    return QObject::eventFilter(oggetto, evento);
}
