#include "Modale.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

namespace {
Modale::Esecutore& hook() {
    static Modale::Esecutore h;
    return h;
}
} // namespace

int Modale::Mostra(QDialog& finestra, QWidget* proprietario) {
    QPointer<QWidget> owner = proprietario;
    if (owner)
        owner->setEnabled(false);
    int esito = 0;
    if (hook()) {
        finestra.show();
        esito = hook()(finestra);
        finestra.hide();
    } else {
        finestra.setWindowModality(Qt::ApplicationModal);
        esito = finestra.exec();
    }
    if (owner)
        owner->setEnabled(true);
    return esito;
}

void Modale::InstallaHook(Esecutore e) {
    hook() = std::move(e);
}

void Modale::RimuoviHook() {
    hook() = nullptr;
}
