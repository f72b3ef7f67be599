#include "LetturaImpostazioni.h"

#include "archive/StatoGlobale.h"
#include "platform/Testo.h"

void LetturaImpostazioni::LeggiInterruttori(StatoGlobale& stato) {
    Recordset& rs = stato.archivio.ApriTabella(QStringLiteral("Impostazioni"));
    rs.MoveFirst();
    if (rs.isEOF())
        return;
    stato.StampaAutomatica = rs.Booleano(QStringLiteral("ModStampa"));
    stato.AccensioneDtr = rs.Booleano(QStringLiteral("ModAccGsm"));
}

bool LetturaImpostazioni::LeggiGestoreOperativo(StatoGlobale& stato) {
    bool trovato = false;
    Recordset& rs = stato.archivio.ApriTabella(QStringLiteral("DatiGestoreSim"));
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (!rs.Booleano(QStringLiteral("Operativo")))
            continue;
        trovato = true;
        stato.GestoreAttivo = rs.Testo(QStringLiteral("GestoreSim"));
        stato.NumeroCredito = rs.Testo(QStringLiteral("TelCredito"));
        stato.TestoCredito = rs.Testo(QStringLiteral("TestoSmsCredito"));
        stato.ModalitaCredito = int(rs.Intero(QStringLiteral("ModalitaCre")));
        stato.RispostaCredito = int(rs.Intero(QStringLiteral("ModRispCredito")));
        stato.CreditoResiduo = rs.Testo(QStringLiteral("CreditoSim"));
    }
    return trovato;
}

void LetturaImpostazioni::LeggiStampante(StatoGlobale& stato) {
    Recordset& rs = stato.archivio.ApriTabella(QStringLiteral("Impostazioni"));
    rs.MoveFirst();
    if (rs.isEOF())
        return;
    stato.Stampa80Colonne = rs.Booleano(QStringLiteral("Mod80Colonne"));
    // A port number that is not a number reads as 0, which no port has.
    const double porta = Testo::Val(rs.Testo(QStringLiteral("ModCom80Colonne")));
    stato.PortaStampa80 = (porta >= 0 && porta <= 32767) ? int(Testo::Arrotonda(porta)) : 0;
}
