#include "RicezioneSms.h"

#include "InterpreteSms.h"
#include "archive/Archivio.h"
#include "desk/LetturaSmsInAttesa.h"
#include "archive/RubricaClienti.h"
#include "platform/Testo.h"

#include <cstdlib>

RicezioneSms::Risultato RicezioneSms::Registra(Archivio& archivio, RubricaClienti& rubrica,
                                               SmsLetto sms, const QDateTime& adesso) {
    if (!sms.timestampLeggibile()) {
        sms.data = adesso.toString(QStringLiteral("dd/MM/yy"));
        sms.orario = adesso.toString(QStringLiteral("hh:mm:ss"));
    }
    Risultato r;
    rubrica.Riempi(archivio);
    bool trovato = false;
    r.nome = rubrica.NomeDi(sms.numero, &trovato);
    if (!trovato)
        r.nome = LetturaSmsInAttesa::NuovoCliente();
    r.data = sms.data;

    const int secondi = InterpreteSms::Orario_In_Secondi(sms.orario);
    Recordset& rs = archivio.ApriTabella(QStringLiteral("SmsTemporanei"));
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(QStringLiteral("T3Numero")) != sms.numero ||
            rs.Testo(QStringLiteral("T3DataArrivo")) != sms.data)
            continue;
        const QString primo = rs.Testo(QStringLiteral("T3OrarioArrivo"));
        const QString registrato = rs.Testo(QStringLiteral("T3TestoSmsRicevuto"));
        const bool stessoOrario = sms.orario == primo ||
                                  sms.orario == rs.Testo(QStringLiteral("T3OrarioArrivo2")) ||
                                  sms.orario == rs.Testo(QStringLiteral("T3OrarioArrivo3"));
        // A second reading of the same message: same time and its text already in the record.
        // Parts of one message often share their second, so the time alone proves nothing.
        if (stessoOrario && registrato.contains(sms.testo)) {
            r.esito = Esito::Duplicato;
            r.orarioPrimo = primo;
            r.testo = registrato;
            return r;
        }
        // Slots are not read in time order: a part a little older than the first joins as well.
        if (std::abs(secondi - InterpreteSms::Orario_In_Secondi(primo)) < kSecondiUnione) {
            r.esito = Esito::Unito;
            r.orarioPrimo = primo;
            r.testo = registrato + QLatin1Char(' ') + sms.testo;
            rs.Edit();
            rs.Imposta(QStringLiteral("T3TestoSmsRicevuto"), r.testo);
            rs.Imposta(QStringLiteral("T3OrarioArrivo2"), sms.orario);
            rs.Imposta(QStringLiteral("T3OrarioArrivo3"), QString());
            rs.Update();
            return r;
        }
    }

    rs.AddNew();
    rs.Imposta(QStringLiteral("T3Numero"), sms.numero);
    rs.Imposta(QStringLiteral("T3DataArrivo"), sms.data);
    rs.Imposta(QStringLiteral("T3OrarioArrivo"), sms.orario);
    rs.Imposta(QStringLiteral("T3OrarioArrivo2"), QString());
    rs.Imposta(QStringLiteral("T3OrarioArrivo3"), QString());
    rs.Imposta(QStringLiteral("T3TestoSmsRicevuto"), sms.testo);
    rs.Update();
    rs.MoveFirst();
    r.esito = Esito::Nuovo;
    r.orarioPrimo = sms.orario;
    r.testo = sms.testo;
    return r;
}

bool RicezioneSms::DalMittente(const SmsLetto& sms, const QString& mittente) {
    const QString cercato = mittente.trimmed();
    if (cercato.isEmpty())
        return false;
    for (const QString& campo : {sms.mittente, sms.numero, sms.alfa})
        if (campo.trimmed().compare(cercato, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<QString> RicezioneSms::CreditoDaTesto(const QString& testo) {
    const int p = Testo::InStr(testo, QStringLiteral("euro"));
    if (p < 7)
        return std::nullopt;
    return Testo::Mid(testo, p - 6, 5);
}

void RicezioneSms::RegistraCredito(Archivio& archivio, const QString& numeroCredito,
                                   const QString& credito) {
    Recordset& rs = archivio.ApriTabella(QStringLiteral("DatiGestoreSim"));
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(QStringLiteral("TelCredito")) != numeroCredito)
            continue;
        rs.Edit();
        rs.Imposta(QStringLiteral("CreditoSim"), credito);
        rs.Update();
    }
}
