#include "LetturaImpostazioni.h"

#include "Schema.h"
#include "StatoGlobale.h"
#include "platform/Testo.h"

void LetturaImpostazioni::LeggiInterruttori(StatoGlobale& stato) {
    Recordset& rs = stato.archivio.ApriTabella(Tabella::Impostazioni);
    rs.MoveFirst();
    if (rs.isEOF())
        return;
    stato.impostazioni.stampaAutomatica = rs.Booleano(Campo::ModStampa);
    stato.impostazioni.accensioneDtr = rs.Booleano(Campo::ModAccGsm);
}

void LetturaImpostazioni::LeggiStampante(StatoGlobale& stato) {
    Recordset& rs = stato.archivio.ApriTabella(Tabella::Impostazioni);
    rs.MoveFirst();
    if (rs.isEOF())
        return;
    stato.impostazioni.stampa80Colonne = rs.Booleano(Campo::Mod80Colonne);
    // A port number that is not a number reads as 0, which no port has.
    const double porta = Testo::Val(rs.Testo(Campo::ModCom80Colonne));
    stato.impostazioni.portaStampa80 =
        (porta >= 0 && porta <= 32767) ? int(Testo::Arrotonda(porta)) : 0;
}
