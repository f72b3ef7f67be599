#include "LetturaImpostazioni.h"

#include "Archivio.h"
#include "Schema.h"
#include "platform/Testo.h"

ImpostazioniAttivita LetturaImpostazioni::Leggi(Archivio& archivio) {
    ImpostazioniAttivita lette;
    Recordset& rs = archivio.ApriTabella(Tabella::Impostazioni);
    rs.MoveFirst();
    if (rs.isEOF())
        return lette;
    lette.stampaAutomatica = rs.Booleano(Campo::ModStampa);
    lette.accensioneDtr = rs.Booleano(Campo::ModAccGsm);
    lette.stampa80Colonne = rs.Booleano(Campo::Mod80Colonne);
    // A port number that is not a number reads as 0, which no port has.
    const double porta = Testo::Val(rs.Testo(Campo::ModCom80Colonne));
    lette.portaStampa80 = (porta >= 0 && porta <= 32767) ? int(Testo::Arrotonda(porta)) : 0;
    return lette;
}
