#include "InvioComeClic.h"

#include <QAbstractItemView>
#include <QKeyEvent>

InvioComeClic::InvioComeClic(QAbstractItemView* lista, std::function<void()> clic)
    : QObject(lista)
    , lista_(lista)
    , clic_(std::move(clic)) {}

void InvioComeClic::Applica(QAbstractItemView* lista, std::function<void()> clic) {
    lista->installEventFilter(new InvioComeClic(lista, std::move(clic)));
}

bool InvioComeClic::eventFilter(QObject* oggetto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(evento)->key();
        if ((tasto == Qt::Key_Return || tasto == Qt::Key_Enter) &&
            lista_->currentIndex().isValid()) {
            clic_();
            return true;
        }
    }
    return QObject::eventFilter(oggetto, evento);
}
