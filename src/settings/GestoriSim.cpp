#include "GestoriSim.h"

#include "archive/Archivio.h"
#include "archive/Schema.h"
#include "archive/Transazione.h"
#include "platform/ErroreRuntime.h"

namespace {

void scrivi(Recordset& rs, const GestoriSim::Gestore& g) {
    rs.Imposta(Campo::GestoreSim, g.nome);
    rs.Imposta(Campo::TelCredito, g.telCredito);
    rs.Imposta(Campo::TestoSmsCredito, g.testoSms);
    rs.Imposta(Campo::ModalitaCre, g.modalita);
    rs.Imposta(Campo::ModRispCredito, g.risposta);
    rs.Imposta(Campo::DataScadenza, g.dataScadenza);
    rs.Imposta(Campo::Operativo, g.operativo);
}

// A record the archive refuses is dropped, so that the recordset is left with no edit open.
void aggiorna(Recordset& rs) {
    try {
        rs.Update();
    } catch (const ErroreRuntime&) {
        rs.CancelUpdate();
        throw;
    }
}

// The operator in use is one only.
void nessunoOperativo(Recordset& rs) {
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (!rs.Booleano(Campo::Operativo))
            continue;
        rs.Edit();
        rs.Imposta(Campo::Operativo, false);
        rs.Update();
    }
}

// The operator added, or changed where its identifier is, all or nothing.
void salva(Archivio& archivio, const GestoriSim::Gestore& g, bool nuovo) {
    Transazione t(archivio);
    Recordset& rs = archivio.ApriTabella(Tabella::DatiGestoreSim);
    if (g.operativo)
        nessunoOperativo(rs);
    if (nuovo) {
        rs.AddNew();
    } else {
        rs.FindFirst(Criterio::Uguale(Campo::IDGestore, g.id));
        if (rs.NoMatch())
            throw ErroreRuntime(ErroreRuntime::NessunRecordCorrente,
                                QStringLiteral("Il gestore non è più presente nell'archivio"));
        rs.Edit();
    }
    scrivi(rs, g);
    aggiorna(rs);
    t.Conferma();
}

} // namespace

QVector<GestoriSim::Gestore> GestoriSim::Elenco(Archivio& archivio) {
    QVector<Gestore> elenco;
    Recordset& rs = archivio.ApriTabella(Tabella::DatiGestoreSim);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        elenco.append({rs.Intero(Campo::IDGestore), rs.Testo(Campo::GestoreSim),
                       rs.Booleano(Campo::Operativo), rs.Testo(Campo::TelCredito),
                       rs.Testo(Campo::TestoSmsCredito), int(rs.Intero(Campo::ModalitaCre)),
                       int(rs.Intero(Campo::ModRispCredito)), rs.Testo(Campo::CreditoSim),
                       rs.Testo(Campo::DataScadenza)});
    return elenco;
}

qint64 GestoriSim::Aggiungi(Archivio& archivio, const Gestore& g) {
    salva(archivio, g, true);
    qint64 id = 0;
    Recordset& rs = archivio.ApriTabella(Tabella::DatiGestoreSim);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        id = std::max(id, rs.Intero(Campo::IDGestore));
    return id;
}

void GestoriSim::Modifica(Archivio& archivio, const Gestore& g) {
    salva(archivio, g, false);
}
