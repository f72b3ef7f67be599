#include "StiliMessaggio.h"

// The answer codes of each button set, in the order the buttons appear.
std::vector<int> RisposteDelloStile(int style) {
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

int RispostaPredefinita(int style) {
    const auto risposte = RisposteDelloStile(style);
    const std::size_t indice = (style & Stile::TerzoPredefinito)     ? 2
                               : (style & Stile::SecondoPredefinito) ? 1
                                                                     : 0;
    return risposte[indice < risposte.size() ? indice : 0];
}
