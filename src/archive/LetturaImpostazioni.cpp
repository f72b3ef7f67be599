#include "LetturaImpostazioni.h"

#include "Schema.h"
#include "StatoGlobale.h"
#include "platform/Testo.h"

void LetturaImpostazioni::LeggiInterruttori(StatoGlobale& stato) {
    Recordset& rs = stato.archivio.ApriTabella(Tabella::Impostazioni);
    rs.MoveFirst();
    if (rs.isEOF())
        return;
    stato.StampaAutomatica = rs.Booleano(Campo::ModStampa);
    stato.AccensioneDtr = rs.Booleano(Campo::ModAccGsm);
}

bool LetturaImpostazioni::LeggiGestoreOperativo(StatoGlobale& stato) {
    // What an operator read before (another archive, or one no longer in use) does not stay.
    stato.GestoreAttivo.clear();
    stato.NumeroCredito.clear();
    stato.TestoCredito.clear();
    stato.ModalitaCredito = 0;
    stato.RispostaCredito = 0;
    stato.CreditoResiduo.clear();
    bool trovato = false;
    Recordset& rs = stato.archivio.ApriTabella(Tabella::DatiGestoreSim);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (!rs.Booleano(Campo::Operativo))
            continue;
        trovato = true;
        stato.GestoreAttivo = rs.Testo(Campo::GestoreSim);
        stato.NumeroCredito = rs.Testo(Campo::TelCredito);
        stato.TestoCredito = rs.Testo(Campo::TestoSmsCredito);
        stato.ModalitaCredito = int(rs.Intero(Campo::ModalitaCre));
        stato.RispostaCredito = int(rs.Intero(Campo::ModRispCredito));
        stato.CreditoResiduo = rs.Testo(Campo::CreditoSim);
    }
    return trovato;
}

void LetturaImpostazioni::LeggiStampante(StatoGlobale& stato) {
    Recordset& rs = stato.archivio.ApriTabella(Tabella::Impostazioni);
    rs.MoveFirst();
    if (rs.isEOF())
        return;
    stato.Stampa80Colonne = rs.Booleano(Campo::Mod80Colonne);
    // A port number that is not a number reads as 0, which no port has.
    const double porta = Testo::Val(rs.Testo(Campo::ModCom80Colonne));
    stato.PortaStampa80 = (porta >= 0 && porta <= 32767) ? int(Testo::Arrotonda(porta)) : 0;
}
