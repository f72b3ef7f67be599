#include "AvvisiModem.h"

#include "CanaleGsm.h"
#include "DialogoUtente.h"

void AvvisiModem::Avvisa(const QString& testo, int stile, const QString& titolo) {
    avvisi_.push_back(Avviso{testo, stile, titolo});
}

void AvvisiModem::Mostra(DialogoUtente& utente, CanaleGsm& canale) {
    if (aperto_ || avvisi_.empty())
        return;
    aperto_ = true;
    canale.TrattieniFinestre(true);
    while (!avvisi_.empty()) {
        const Avviso a = avvisi_.front();
        avvisi_.pop_front();
        utente.Messaggio(a.testo, a.stile, a.titolo);
    }
    aperto_ = false;
    canale.TrattieniFinestre(false);
}
