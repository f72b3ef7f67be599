#include "GestoreOperativo.h"

#include "Archivio.h"
#include "Schema.h"
#include "Transazione.h"
#include "platform/Testo.h"

bool GestoreOperativo::Leggi(Archivio& archivio) {
    // What an operator read before (another archive, or one no longer in use) does not stay.
    *this = GestoreOperativo();
    Recordset& rs = archivio.ApriTabella(Tabella::DatiGestoreSim);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (!rs.Booleano(Campo::Operativo))
            continue;
        id = rs.Intero(Campo::IDGestore);
        nome = rs.Testo(Campo::GestoreSim);
        numeroCredito = rs.Testo(Campo::TelCredito);
        testoCredito = rs.Testo(Campo::TestoSmsCredito);
        modalita = int(rs.Intero(Campo::ModalitaCre));
        risposta = int(rs.Intero(Campo::ModRispCredito));
        credito = rs.Testo(Campo::CreditoSim);
    }
    return id != 0;
}

void GestoreOperativo::RegistraCredito(Archivio& archivio, const QString& nuovo,
                                       const QDate& oggi) {
    credito = nuovo;
    Transazione t(archivio);
    Recordset& rs = archivio.ApriTabella(Tabella::DatiGestoreSim);
    // By its identity: two operators may share a name, never a record.
    if (id != 0 && rs.Posiziona(id)) {
        // A credit grown since the last reading means a top-up today. A credit counts as the
        // number at its start, as the modem's LetturaCredito reads it: "12,34" as 12.
        const bool ricarica = Testo::Val(nuovo) > Testo::Val(rs.Testo(Campo::CreditoSim));
        rs.Edit();
        if (ricarica)
            rs.Imposta(Campo::DataScadenza, oggi.toString(QStringLiteral("dd/MM/yyyy")));
        rs.Imposta(Campo::CreditoSim, nuovo);
        rs.Update();
    }
    t.Conferma();
}
