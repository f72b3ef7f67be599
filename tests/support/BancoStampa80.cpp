#include "BancoStampa80.h"

BancoStampa80::BancoStampa80(bool ottantaColonne) {
    stato.archivio.ApriArchivio(cartella.percorso());
    stampante.collega(cartella.percorso(), 3);
    if (ottantaColonne) {
        stato.impostazioni.stampa80Colonne = true;
        stato.impostazioni.portaStampa80 = 3;
    }
}
