#include "BancoStampa80.h"

BancoStampa80::BancoStampa80(bool ottantaColonne) {
    stato.archivio.ApriArchivio(cartella.percorso());
    stampante.collega(cartella.percorso(), 3);
    if (ottantaColonne) {
        impostazioni.stampa80Colonne = true;
        impostazioni.portaStampa80 = 3;
    }
}
