#include "LetturaSmsInAttesa.h"

#include "archive/Archivio.h"
#include "archive/RubricaClienti.h"
#include "archive/Schema.h"

QVector<RigaListaSms> LetturaSmsInAttesa::Leggi(Archivio& archivio, RubricaClienti& rubrica) {
    rubrica.Riempi(archivio);
    QVector<RigaListaSms> righe;
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        RigaListaSms riga;
        riga.numero = rs.Testo(Campo::T3Numero);
        bool trovato = false;
        riga.nome = rubrica.NomeDi(riga.numero, &trovato);
        if (!trovato)
            riga.nome = NuovoCliente();
        riga.data = rs.Testo(Campo::T3DataArrivo);
        riga.orario = rs.Testo(Campo::T3OrarioArrivo);
        riga.testo = rs.Testo(Campo::T3TestoSmsRicevuto);
        riga.gestito = rs.Booleano(Campo::T3Gestito);
        righe.append(riga);
    }
    return righe;
}
