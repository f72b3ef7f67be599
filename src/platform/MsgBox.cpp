#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace {

MsgBoxHook::Risponditore& hook() {
    static MsgBoxHook::Risponditore h;
    return h;
}

// The answer codes of each button set, in the order the buttons appear.
std::vector<int> risposteDelloStile(int style) {
    switch (style & 7) {
    case Stile::OkAnnulla:
        return {Risposta::Ok, Risposta::Annulla};
    case Stile::InterrompiRiprovaIgnora:
        return {Risposta::Interrompi, Risposta::Riprova, Risposta::Ignora};
    case Stile::SiNoAnnulla:
        return {Risposta::Si, Risposta::No, Risposta::Annulla};
    case Stile::SiNo:
        return {Risposta::Si, Risposta::No};
    case Stile::RiprovaAnnulla:
        return {Risposta::Riprova, Risposta::Annulla};
    default:
        return {Risposta::Ok};
    }
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

int RispostaPredefinita(int style) {
    const auto risposte = risposteDelloStile(style);
    const std::size_t indice = (style & Stile::TerzoPredefinito)     ? 2
                               : (style & Stile::SecondoPredefinito) ? 1
                                                                     : 0;
    return risposte[indice < risposte.size() ? indice : 0];
}

int MsgBox(const QString& prompt, int style, const QString& title) {
    const QString titolo = title.isEmpty() ? QApplication::applicationName() : title;
    if (hook())
        return hook()(MessaggioMostrato{prompt, style, titolo});

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(titolo);
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
    const auto risposte = risposteDelloStile(style);
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
