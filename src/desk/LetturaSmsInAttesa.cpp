#include "LetturaSmsInAttesa.h"

#include "archive/Archivio.h"
#include "archive/RubricaClienti.h"
#include "archive/Schema.h"

namespace {
// The current record of `rs` as a row.
RigaListaSms rigaCorrente(const Recordset& rs, const RubricaClienti& rubrica) {
    RigaListaSms riga;
    riga.id = rs.Rowid();
    riga.numero = rs.Testo(Campo::T3Numero);
    riga.nome = rubrica.NomeDi(riga.numero, &riga.clienteNoto);
    if (!riga.clienteNoto)
        riga.nome = RubricaClienti::NuovoCliente();
    riga.data = rs.Testo(Campo::T3DataArrivo);
    riga.orario = rs.Testo(Campo::T3OrarioArrivo);
    riga.testo = rs.Testo(Campo::T3TestoSmsRicevuto);
    riga.gestito = rs.Booleano(Campo::T3Gestito);
    return riga;
}
} // namespace

QVector<RigaListaSms> LetturaSmsInAttesa::Leggi(Archivio& archivio, RubricaClienti& rubrica) {
    rubrica.Riempi(archivio);
    QVector<RigaListaSms> righe;
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        righe.append(rigaCorrente(rs, rubrica));
    return righe;
}

std::optional<RigaListaSms> LetturaSmsInAttesa::Riga(Archivio& archivio,
                                                     const RubricaClienti& rubrica, qint64 id) {
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    if (id <= 0 || !rs.Posiziona(id))
        return std::nullopt;
    return rigaCorrente(rs, rubrica);
}
