#include "DatiDiProva.h"

#include "archive/Archivio.h"

namespace DatiDiProva {

void Cliente(Archivio& a, const QString& numero, const QString& nome, bool eliminato) {
    Recordset& rs = a.ApriTabella(QStringLiteral("Clienti"));
    rs.AddNew();
    rs.Imposta(QStringLiteral("T1Numero"), numero);
    rs.Imposta(QStringLiteral("T1Nome"), nome);
    rs.Imposta(QStringLiteral("T1Nascita"), QString());
    rs.Imposta(QStringLiteral("T1Indirizzo"), QStringLiteral("Via Roma 1, Bari"));
    rs.Imposta(QStringLiteral("T1Informazioni"), QString());
    rs.Imposta(QStringLiteral("T1Eliminato"), eliminato);
    rs.Update();
}

void SmsInAttesa(Archivio& a, const QString& numero, const QString& data, const QString& orario,
                 const QString& testo, bool gestito) {
    Recordset& rs = a.ApriTabella(QStringLiteral("SmsTemporanei"));
    rs.AddNew();
    rs.Imposta(QStringLiteral("T3Numero"), numero);
    rs.Imposta(QStringLiteral("T3DataArrivo"), data);
    rs.Imposta(QStringLiteral("T3OrarioArrivo"), orario);
    rs.Imposta(QStringLiteral("T3OrarioArrivo2"), QString());
    rs.Imposta(QStringLiteral("T3OrarioArrivo3"), QString());
    rs.Imposta(QStringLiteral("T3TestoSmsRicevuto"), testo);
    rs.Imposta(QStringLiteral("T3Gestito"), gestito);
    rs.Update();
}

void Gestore(Archivio& a, const QString& nome, const QString& telCredito, bool operativo,
             int modalita, const QString& credito) {
    Recordset& rs = a.ApriTabella(QStringLiteral("DatiGestoreSim"));
    rs.AddNew();
    rs.Imposta(QStringLiteral("GestoreSim"), nome);
    rs.Imposta(QStringLiteral("Operativo"), operativo);
    rs.Imposta(QStringLiteral("TelCredito"), telCredito);
    rs.Imposta(QStringLiteral("TestoSmsCredito"), QStringLiteral("CREDITO"));
    rs.Imposta(QStringLiteral("ModalitaCre"), modalita);
    rs.Imposta(QStringLiteral("ModRispCredito"), 1);
    rs.Imposta(QStringLiteral("CreditoSim"), credito);
    rs.Update();
}

void Impostazioni(Archivio& a, bool modStampa, bool modAccGsm, bool mod80Colonne,
                  const QString& porta80) {
    Recordset& rs = a.ApriTabella(QStringLiteral("Impostazioni"));
    rs.MoveFirst();
    rs.Edit();
    rs.Imposta(QStringLiteral("ModStampa"), modStampa);
    rs.Imposta(QStringLiteral("ModAccGsm"), modAccGsm);
    rs.Imposta(QStringLiteral("Mod80Colonne"), mod80Colonne);
    rs.Imposta(QStringLiteral("ModCom80Colonne"), porta80);
    rs.Update();
}

void Modem(Archivio& a, bool conDtr) {
    Gestore(a, QStringLiteral("TIM"), QStringLiteral("*123#"), true);
    Impostazioni(a, false, conDtr, false, QStringLiteral("2"));
}

} // namespace DatiDiProva
