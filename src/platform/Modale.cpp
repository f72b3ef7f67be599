#include "Modale.h"

#include "TastiTenuti.h"

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
    // An owner already disabled (another window is open over it) stays so when this one closes.
    const bool eraDisabilitato = owner && owner->testAttribute(Qt::WA_ForceDisabled);
    if (owner)
        owner->setEnabled(false);
    // Qt disables the child windows of a disabled window: the window over its owner must be
    // enabled itself, or none of its controls would respond.
    finestra.setEnabled(true);
    int esito = 0;
    const TastiTenuti tenuti;
    if (hook()) {
        finestra.show();
        esito = hook()(finestra);
        finestra.hide();
    } else {
        finestra.setWindowModality(Qt::ApplicationModal);
        esito = finestra.exec();
    }
    if (owner && !eraDisabilitato)
        owner->setEnabled(true);
    return esito;
}

void Modale::InstallaHook(Esecutore e) {
    hook() = std::move(e);
}

void Modale::RimuoviHook() {
    hook() = nullptr;
}
