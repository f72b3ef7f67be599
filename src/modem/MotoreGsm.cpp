#include "MotoreGsm.h"

#include "archive/StatoGlobale.h"
#include "platform/PortaSeriale.h"

MotoreGsm::MotoreGsm(StatoGlobale& globale, PortaSeriale& porta, DialogoUtente& utente,
                     QObject* parent)
    : QObject(parent)
    , globale(globale)
    , porta(porta)
    , utente(utente)
    , canale(*this)
    , supervisione(*this)
    , scansione(*this)
    , pin(*this)
    , invio(*this)
    , credito(*this)
    , codifica(*this) {}

MotoreGsm::~MotoreGsm() = default;

bool MotoreGsm::PassoModem() {
    if (stato.TickAttesa == 0) {
        if (!supervisione.PassoInattivo())
            return false;
        credito.PassoServizi();
        return true;
    }
    canale.Raccogli();
    return true;
}

void MotoreGsm::Polling() {
    supervisione.Polling();
}

void MotoreGsm::ChiudiSenzaSpegnere() {
    if (!porta.PortOpen())
        return;
    stato.SpegnimentoRichiesto = false;
    porta.setDTREnable(false);
    porta.setPortOpen(false);
}

void MotoreGsm::AvviaSpegnimento() {
    porta.setDTREnable(true);
    stato.TickAccensione = 0;
    stato.SpegnimentoRichiesto = true;
}
