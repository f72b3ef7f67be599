#include "FiltroCifre.h"

#include <QKeyEvent>
#include <QWidget>

void FiltroCifre::Applica(QWidget* casella) {
    casella->installEventFilter(new FiltroCifre(casella));
}

bool FiltroCifre::Ammesso(const QString& testo, Qt::KeyboardModifiers modificatori) {
    if (modificatori & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    for (const QChar c : testo) {
        // Control characters (Tab, Enter, Esc, Backspace, Delete as 0x7F) type nothing.
        if (!c.isPrint())
            continue;
        if (!c.isDigit() || c.unicode() > 0x7F) {
            if (c != QLatin1Char('.'))
                return false;
        }
    }
    return true;
}

bool FiltroCifre::eventFilter(QObject* oggetto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress) {
        const auto* tasto = static_cast<QKeyEvent*>(evento);
        if (!Ammesso(tasto->text(), tasto->modifiers()))
            return true;
    }
    return QObject::eventFilter(oggetto, evento);
}
