#include "BancoStampa80.h"

BancoStampa80::BancoStampa80(bool ottantaColonne) {
    stato.archivio.ApriArchivio(cartella.percorso());
    stampante.collega(cartella.percorso(), 3);
    if (ottantaColonne) {
        stato.Stampa80Colonne = true;
        stato.PortaStampa80 = 3;
    }
}
