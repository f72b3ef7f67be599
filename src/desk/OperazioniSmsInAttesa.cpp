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

bool OperazioniSmsInAttesa::SegnaGestito(Archivio& archivio, qint64 id) {
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    if (id <= 0 || !rs.Posiziona(id))
        return false;
    rs.Edit();
    rs.Imposta(Campo::T3Gestito, true);
    rs.Update();
    return true;
}

bool OperazioniSmsInAttesa::Archivia(Archivio& archivio, qint64 id) {
    Transazione transazione(archivio);
    // A message no longer pending is not archived again.
    Recordset& attesa = archivio.ApriTabella(Tabella::SmsTemporanei);
    if (id <= 0 || !attesa.Posiziona(id))
        return false;
    const QString numero = attesa.Testo(Campo::T3Numero);
    const QString data = attesa.Testo(Campo::T3DataArrivo);
    const QString orario = attesa.Testo(Campo::T3OrarioArrivo);
    const QString testo = attesa.Testo(Campo::T3TestoSmsRicevuto);

    Recordset& sms = archivio.ApriTabella(Tabella::SMS);
    sms.AddNew();
    sms.Imposta(Campo::T4Numero, numero);
    sms.Imposta(Campo::T4DataArrivo, data);
    sms.Imposta(Campo::T4OrarioArrivo, orario);
    sms.Imposta(Campo::T4TestoSmsRicevuto, testo);
    sms.Update();

    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    rs.Posiziona(id);
    rs.Delete();
    transazione.Conferma();
    return true;
}

bool OperazioniSmsInAttesa::Elimina(Archivio& archivio, qint64 id) {
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    if (id <= 0 || !rs.Posiziona(id))
        return false;
    rs.Delete();
    return true;
}

int OperazioniSmsInAttesa::EliminaTutti(Archivio& archivio, const QVector<qint64>& id) {
    int eliminati = 0;
    for (qint64 i : id)
        eliminati += Elimina(archivio, i) ? 1 : 0;
    return eliminati;
}
