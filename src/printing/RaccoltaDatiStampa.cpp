#include "RaccoltaDatiStampa.h"

#include "archive/Archivio.h"
#include "archive/ChiaveData.h"
#include "archive/RubricaClienti.h"
#include "archive/Schema.h"
#include "platform/ErroreRuntime.h"

namespace {

// A stored value as the customer lists print it: a missing one becomes a single space.
QString valore(const Recordset& rs, const QString& campo) {
    const QVariant v = rs.Campo(campo);
    return v.isNull() ? QStringLiteral(" ") : v.toString();
}

void primoRecord(Recordset& rs) {
    rs.MoveFirst();
    if (rs.isEOF())
        throw ErroreRuntime(ErroreRuntime::NessunRecordCorrente,
                            QStringLiteral("Nessun record corrente."));
}

} // namespace

RecordsetInMemoria RaccoltaDatiStampa::ListaClienti(Archivio& archivio) {
    RecordsetInMemoria lista({Campo::T1IdCliente, Campo::T1Numero, Campo::T1Nome, Campo::T1Nascita,
                              Campo::T1Indirizzo, Campo::T1Informazioni, Campo::T1Eliminato},
                             LarghezzaClienti);
    Recordset& rs = archivio.ApriTabella(Tabella::Clienti);
    primoRecord(rs);
    for (; !rs.isEOF(); rs.MoveNext()) {
        if (rs.Booleano(Campo::T1Eliminato))
            continue;
        QStringList riga;
        for (const QString& campo : {Campo::T1IdCliente, Campo::T1Numero, Campo::T1Nome,
                                     Campo::T1Nascita, Campo::T1Indirizzo, Campo::T1Informazioni})
            riga << valore(rs, campo);
        // The flag goes into the row as text, like every other value.
        riga << (rs.Booleano(Campo::T1Eliminato) ? QStringLiteral("True")
                                                 : QStringLiteral("False"));
        lista.Aggiungi(riga);
    }
    return lista;
}

RecordsetInMemoria RaccoltaDatiStampa::ListaClientiRidotta(Archivio& archivio, int tipoLista) {
    RecordsetInMemoria lista({Campo::T1IdCliente, Campo::T1Numero, Campo::T1Nome},
                             LarghezzaClienti);
    const bool eliminati = tipoLista == 2;
    // The register leaves Clienti open; anything else open would be read as if it were.
    const bool clientiAperta =
        archivio.HaRecordsetCorrente() &&
        archivio.rs().NomeTabella().compare(Tabella::Clienti, Qt::CaseInsensitive) == 0;
    Recordset& rs = clientiAperta ? archivio.rs() : archivio.ApriTabella(Tabella::Clienti);
    primoRecord(rs);
    for (; !rs.isEOF(); rs.MoveNext()) {
        if (rs.Booleano(Campo::T1Eliminato) != eliminati)
            continue;
        lista.Aggiungi({valore(rs, Campo::T1IdCliente), valore(rs, Campo::T1Numero),
                        valore(rs, Campo::T1Nome)});
    }
    return lista;
}

RecordsetInMemoria RaccoltaDatiStampa::ListaSms(Archivio& archivio, RubricaClienti& rubrica,
                                                const QString& nome, const QString& numero,
                                                int dataDa, int dataA) {
    rubrica.Riempi(archivio);
    Recordset& rs = archivio.ApriTabella(Tabella::SMS);
    const bool tutti = numero == QLatin1String("Tutti");
    RecordsetInMemoria lista =
        nome.isEmpty() ? RecordsetInMemoria({Campo::T4IdSMS, Campo::T4Numero,
                                             RaccoltaDatiStampa::T4Nome, Campo::T4DataArrivo,
                                             Campo::T4OrarioArrivo, Campo::T4TestoSmsRicevuto},
                                            LarghezzaSms)
                       : RecordsetInMemoria({Campo::T4DataArrivo, Campo::T4OrarioArrivo,
                                             Campo::T4TestoSmsRicevuto},
                                            LarghezzaSms);
    // The browser shows every message when no range is chosen; printing what it shows.
    const bool senzaFiltro = dataDa == 0 && dataA == 0;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        const QString numeroSms = rs.Testo(Campo::T4Numero);
        const int chiave = ChiaveData::DiData(rs.Testo(Campo::T4DataArrivo));
        const bool nelPeriodo = senzaFiltro || (dataDa <= chiave && chiave <= dataA);
        if (!nelPeriodo || (!tutti && numeroSms != numero))
            continue;
        QStringList riga;
        if (nome.isEmpty())
            riga << rs.Testo(Campo::T4IdSMS) << numeroSms << rubrica.NomeDi(numeroSms);
        riga << rs.Testo(Campo::T4DataArrivo) << rs.Testo(Campo::T4OrarioArrivo)
             << rs.Testo(Campo::T4TestoSmsRicevuto);
        lista.Aggiungi(riga);
    }
    return lista;
}
