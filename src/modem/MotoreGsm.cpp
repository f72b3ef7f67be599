#include "MotoreGsm.h"

#include "DialogoUtente.h"
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
        const bool prosegui = supervisione.PassoInattivo();
        if (prosegui)
            credito.PassoServizi();
        MostraAvvisi();
        return prosegui;
    }
    canale.Raccogli();
    MostraAvvisi();
    return true;
}

void MotoreGsm::Polling() {
    supervisione.Polling();
    MostraAvvisi();
}

void MotoreGsm::Avvisa(const QString& testo, int stile, const QString& titolo) {
    avvisi_.push_back(Avviso{testo, stile, titolo});
}

void MotoreGsm::MostraAvvisi() {
    // A box shown from here runs its own event loop: a notice that comes meanwhile waits for
    // this loop, never opens a second box over the first.
    if (avvisoAperto_)
        return;
    avvisoAperto_ = true;
    canale.TrattieniFinestre(true);
    while (!avvisi_.empty()) {
        const Avviso a = avvisi_.front();
        avvisi_.pop_front();
        utente.Messaggio(a.testo, a.stile, a.titolo);
    }
    avvisoAperto_ = false;
    canale.TrattieniFinestre(false);
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
