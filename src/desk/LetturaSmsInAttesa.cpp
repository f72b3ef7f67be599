#include "LetturaSmsInAttesa.h"

#include "archive/RubricaClienti.h"
#include "archive/Archivio.h"

QVector<RigaListaSms> LetturaSmsInAttesa::Leggi(Archivio& archivio, RubricaClienti& rubrica) {
    rubrica.Riempi(archivio);
    QVector<RigaListaSms> righe;
    Recordset& rs = archivio.ApriTabella(QStringLiteral("SmsTemporanei"));
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        RigaListaSms riga;
        riga.numero = rs.Testo(QStringLiteral("T3Numero"));
        bool trovato = false;
        riga.nome = rubrica.NomeDi(riga.numero, &trovato);
        if (!trovato)
            riga.nome = NuovoCliente();
        riga.data = rs.Testo(QStringLiteral("T3DataArrivo"));
        riga.orario = rs.Testo(QStringLiteral("T3OrarioArrivo"));
        riga.testo = rs.Testo(QStringLiteral("T3TestoSmsRicevuto"));
        riga.gestito = rs.Booleano(QStringLiteral("T3Gestito"));
        righe.append(riga);
    }
    return righe;
}
