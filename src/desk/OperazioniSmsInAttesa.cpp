#include "OperazioniSmsInAttesa.h"

#include "archive/Archivio.h"
#include "archive/Schema.h"
#include "archive/Transazione.h"

bool OperazioniSmsInAttesa::ClienteDisabilitato(Archivio& archivio, const QString& numero) {
    Recordset& rs = archivio.ApriTabella(Tabella::Clienti);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(Campo::T1Numero) == numero && rs.Booleano(Campo::T1Eliminato))
            return true;
    }
    return false;
}

bool OperazioniSmsInAttesa::posiziona(Recordset& rs, const RigaListaSms& riga) {
    // The search by number starts where the sender's messages start; the walk from there
    // compares the rest of the row.
    rs.FindFirst(Criterio::Uguale(Campo::T3Numero, riga.numero));
    if (rs.NoMatch())
        return false;
    for (; !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(Campo::T3Numero) == riga.numero &&
            rs.Testo(Campo::T3DataArrivo) == riga.data &&
            rs.Testo(Campo::T3OrarioArrivo) == riga.orario &&
            rs.Testo(Campo::T3TestoSmsRicevuto) == riga.testo)
            return true;
    }
    return false;
}

bool OperazioniSmsInAttesa::SegnaGestito(Archivio& archivio, const RigaListaSms& riga) {
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    if (!posiziona(rs, riga))
        return false;
    rs.Edit();
    rs.Imposta(Campo::T3Gestito, true);
    rs.Update();
    return true;
}

bool OperazioniSmsInAttesa::Archivia(Archivio& archivio, const RigaListaSms& riga) {
    Transazione transazione(archivio);
    // A message no longer pending is not archived again.
    if (!posiziona(archivio.ApriTabella(Tabella::SmsTemporanei), riga))
        return false;

    Recordset& sms = archivio.ApriTabella(Tabella::SMS);
    sms.AddNew();
    sms.Imposta(Campo::T4Numero, riga.numero);
    sms.Imposta(Campo::T4DataArrivo, riga.data);
    sms.Imposta(Campo::T4OrarioArrivo, riga.orario);
    sms.Imposta(Campo::T4TestoSmsRicevuto, riga.testo);
    sms.Update();

    Recordset& attesa = archivio.ApriTabella(Tabella::SmsTemporanei);
    posiziona(attesa, riga);
    attesa.Delete();
    transazione.Conferma();
    return true;
}

bool OperazioniSmsInAttesa::Elimina(Archivio& archivio, const RigaListaSms& riga) {
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    if (!posiziona(rs, riga))
        return false;
    rs.Delete();
    return true;
}

int OperazioniSmsInAttesa::EliminaDelNumero(Archivio& archivio, const QString& numero) {
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    int eliminati = 0;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(Campo::T3Numero) == numero) {
            rs.Delete();
            ++eliminati;
        }
    }
    return eliminati;
}
