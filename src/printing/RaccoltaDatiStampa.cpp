#include "RaccoltaDatiStampa.h"

#include "archive/Archivio.h"
#include "archive/RubricaClienti.h"
#include "platform/ErroreRuntime.h"
#include "platform/Testo.h"

namespace {

const QString kClienti = QStringLiteral("Clienti");

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
    RecordsetInMemoria lista({QStringLiteral("T1IDCliente"), QStringLiteral("T1Numero"),
                              QStringLiteral("T1Nome"), QStringLiteral("T1Nascita"),
                              QStringLiteral("T1Indirizzo"), QStringLiteral("T1Informazioni"),
                              QStringLiteral("T1Eliminato")},
                             LarghezzaClienti);
    Recordset& rs = archivio.ApriTabella(kClienti);
    primoRecord(rs);
    for (; !rs.isEOF(); rs.MoveNext()) {
        if (rs.Booleano(QStringLiteral("T1Eliminato")))
            continue;
        QStringList riga;
        for (const char* campo :
             {"T1IdCliente", "T1Numero", "T1Nome", "T1Nascita", "T1Indirizzo", "T1Informazioni"})
            riga << valore(rs, QString::fromLatin1(campo));
        // The flag goes into the row as text, like every other value.
        riga << (rs.Booleano(QStringLiteral("T1Eliminato")) ? QStringLiteral("True")
                                                            : QStringLiteral("False"));
        lista.Aggiungi(riga);
    }
    return lista;
}

RecordsetInMemoria RaccoltaDatiStampa::ListaClientiRidotta(Archivio& archivio, int tipoLista) {
    RecordsetInMemoria lista(
        {QStringLiteral("T1IDCliente"), QStringLiteral("T1Numero"), QStringLiteral("T1Nome")},
        LarghezzaClienti);
    const bool eliminati = tipoLista == 2;
    // The register leaves Clienti open; anything else open would be read as if it were.
    const bool clientiAperta =
        archivio.HaRecordsetCorrente() &&
        archivio.rs().NomeTabella().compare(kClienti, Qt::CaseInsensitive) == 0;
    Recordset& rs = clientiAperta ? archivio.rs() : archivio.ApriTabella(kClienti);
    primoRecord(rs);
    for (; !rs.isEOF(); rs.MoveNext()) {
        if (rs.Booleano(QStringLiteral("T1Eliminato")) != eliminati)
            continue;
        lista.Aggiungi({valore(rs, QStringLiteral("T1IdCliente")),
                        valore(rs, QStringLiteral("T1Numero")),
                        valore(rs, QStringLiteral("T1Nome"))});
    }
    return lista;
}

RecordsetInMemoria RaccoltaDatiStampa::ListaSms(Archivio& archivio, RubricaClienti& rubrica,
                                                const QString& nome, const QString& numero,
                                                int dataDa, int dataA) {
    rubrica.Riempi(archivio);
    Recordset& rs = archivio.ApriTabella(QStringLiteral("SMS"));
    const bool tutti = numero == QLatin1String("Tutti");
    RecordsetInMemoria lista =
        nome.isEmpty()
            ? RecordsetInMemoria({QStringLiteral("T4IdSMS"), QStringLiteral("T4Numero"),
                                  QStringLiteral("T4Nome"), QStringLiteral("T4DataArrivo"),
                                  QStringLiteral("T4OrarioArrivo"),
                                  QStringLiteral("T4TestoSMSRicevuto")},
                                 LarghezzaSms)
            : RecordsetInMemoria({QStringLiteral("T4DataArrivo"), QStringLiteral("T4OrarioArrivo"),
                                  QStringLiteral("T4TestoSMSRicevuto")},
                                 LarghezzaSms);
    // The browser shows every message when no range is chosen; printing what it shows.
    const bool senzaFiltro = dataDa == 0 && dataA == 0;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        const QString numeroSms = rs.Testo(QStringLiteral("T4Numero"));
        const int chiave = ChiaveData(rs.Testo(QStringLiteral("T4DataArrivo")));
        const bool nelPeriodo = senzaFiltro || (dataDa <= chiave && chiave <= dataA);
        if (!nelPeriodo || (!tutti && numeroSms != numero))
            continue;
        QStringList riga;
        if (nome.isEmpty())
            riga << rs.Testo(QStringLiteral("T4IdSMS")) << numeroSms << rubrica.NomeDi(numeroSms);
        riga << rs.Testo(QStringLiteral("T4DataArrivo"))
             << rs.Testo(QStringLiteral("T4OrarioArrivo"))
             << rs.Testo(QStringLiteral("T4TestoSmsRicevuto"));
        lista.Aggiungi(riga);
    }
    return lista;
}

int RaccoltaDatiStampa::ChiaveData(const QString& data) {
    const auto parte = [&](int inizio) { return int(Testo::Val(Testo::Mid(data, inizio, 2))); };
    return parte(1) + 31 * parte(4) + 961 * parte(7);
}
