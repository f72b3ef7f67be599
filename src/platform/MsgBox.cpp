#include "MsgBox.h"

#include "TastiTenuti.h"
#include "TestoInerte.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace {

MsgBoxHook::Risponditore& hook() {
    static MsgBoxHook::Risponditore h;
    return h;
}

QMessageBox::StandardButton pulsante(int risposta) {
    switch (risposta) {
    case Risposta::Ok:
        return QMessageBox::Ok;
    case Risposta::Annulla:
        return QMessageBox::Cancel;
    case Risposta::Interrompi:
        return QMessageBox::Abort;
    case Risposta::Riprova:
        return QMessageBox::Retry;
    case Risposta::Ignora:
        return QMessageBox::Ignore;
    case Risposta::Si:
        return QMessageBox::Yes;
    default:
        return QMessageBox::No;
    }
}

int risposta(QMessageBox::StandardButton b) {
    switch (b) {
    case QMessageBox::Ok:
        return Risposta::Ok;
    case QMessageBox::Abort:
        return Risposta::Interrompi;
    case QMessageBox::Retry:
        return Risposta::Riprova;
    case QMessageBox::Ignore:
        return Risposta::Ignora;
    case QMessageBox::Yes:
        return Risposta::Si;
    case QMessageBox::No:
        return Risposta::No;
    default:
        return Risposta::Annulla;
    }
}

} // namespace

int MsgBox(const QString& testo, int style, const QString& title, QWidget* proprietario) {
    // A box often quotes a customer's message or name: shown, never acted on.
    const QString prompt = TestoInerte::Rendi(testo);
    const QString titolo = title.isEmpty() ? QApplication::applicationName() : title;
    QWidget* owner = proprietario ? proprietario : QApplication::activeWindow();
    if (hook())
        return hook()(MessaggioMostrato{prompt, style, titolo, owner});

    QMessageBox box(owner);
    box.setWindowTitle(titolo);
    // What a box says is never markup: a customer's name or message shows as typed.
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    switch (style & 0x70) {
    case Stile::Critico:
        box.setIcon(QMessageBox::Critical);
        break;
    case Stile::Domanda:
        box.setIcon(QMessageBox::Question);
        break;
    case Stile::Esclamazione:
        box.setIcon(QMessageBox::Warning);
        break;
    case Stile::Informazione:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    const auto risposte = RisposteDelloStile(style);
    QMessageBox::StandardButtons pulsanti;
    for (int r : risposte)
        pulsanti |= pulsante(r);
    box.setStandardButtons(pulsanti);
    box.setDefaultButton(pulsante(RispostaPredefinita(style)));
    // Closing the box with Esc or the close button answers Annulla where there is one, else the
    // only sensible button.
    const bool haAnnulla =
        std::find(risposte.begin(), risposte.end(), Risposta::Annulla) != risposte.end();
    box.setEscapeButton(pulsante(haAnnulla ? Risposta::Annulla : risposte.back()));
    const TastiTenuti tenuti;
    box.exec();
    auto* cliccato = box.clickedButton();
    if (!cliccato)
        return haAnnulla ? Risposta::Annulla : risposte.back();
    return risposta(box.standardButton(cliccato));
}

void MsgBoxHook::Installa(Risponditore r) {
    hook() = std::move(r);
}

void MsgBoxHook::Rimuovi() {
    hook() = nullptr;
}

bool MsgBoxHook::Installato() {
    return static_cast<bool>(hook());
}
