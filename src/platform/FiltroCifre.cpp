#include "FiltroCifre.h"

#include <QKeyEvent>
#include <QWidget>

void FiltroCifre::Applica(QWidget* casella) {
    casella->installEventFilter(new FiltroCifre(casella));
}

bool FiltroCifre::eventFilter(QObject* oggetto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress) {
        const QString testo = static_cast<QKeyEvent*>(evento)->text();
        if (!testo.isEmpty()) {
            const QChar c = testo.at(0);
            const bool ammesso =
                testo.size() == 1 && ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                                      c == QLatin1Char('.') || c == QLatin1Char('\b'));
            if (!ammesso)
                return true;
        }
    }
    return QObject::eventFilter(oggetto, evento);
}
