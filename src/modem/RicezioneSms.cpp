#include "RicezioneSms.h"

#include "InterpreteSms.h"
#include "PartiSms.h"
#include "archive/Archivio.h"
#include "archive/RubricaClienti.h"
#include "archive/Schema.h"

#include <QStringList>
#include <cstdlib>

namespace {

// Joins a piece at `orario` to the current record, whose text becomes `testo`. The latest
// piece's time goes in the second time; the pieces between the first and the latest keep theirs
// in the third, so that each of them is known if read again.
void unisciParte(Recordset& rs, const QString& testo, const QString& orario) {
    QStringList intermedi = RicezioneSms::OrariIntermedi(rs.Testo(Campo::T3OrarioArrivo3));
    const QString ultimo = rs.Testo(Campo::T3OrarioArrivo2);
    if (!ultimo.isEmpty())
        intermedi << ultimo;
    rs.Edit();
    rs.Imposta(Campo::T3TestoSmsRicevuto, testo);
    rs.Imposta(Campo::T3OrarioArrivo2, orario);
    rs.Imposta(Campo::T3OrarioArrivo3, intermedi.join(QLatin1Char(' ')));
    rs.Update();
}

} // namespace

RicezioneSms::Risultato RicezioneSms::Registra(Archivio& archivio, RubricaClienti& rubrica,
                                               SmsLetto sms, const QDateTime& adesso,
                                               PartiSms* parti) {
    if (!sms.timestampLeggibile()) {
        sms.data = adesso.toString(QStringLiteral("dd/MM/yy"));
        sms.orario = adesso.toString(QStringLiteral("hh:mm:ss"));
    }
    Risultato r;
    rubrica.Riempi(archivio);
    bool trovato = false;
    r.nome = rubrica.NomeDi(sms.numero, &trovato);
    if (!trovato)
        r.nome = RubricaClienti::NuovoCliente();
    r.data = sms.data;

    const int secondi = InterpreteSms::Orario_In_Secondi(sms.orario);
    const bool concatenata = parti && sms.concatenazione;
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(Campo::T3Numero) != sms.numero || rs.Testo(Campo::T3DataArrivo) != sms.data)
            continue;
        const QString primo = rs.Testo(Campo::T3OrarioArrivo);
        const QString ultimo = rs.Testo(Campo::T3OrarioArrivo2);
        const QString intermedi = rs.Testo(Campo::T3OrarioArrivo3);
        const QString registrato = rs.Testo(Campo::T3TestoSmsRicevuto);
        const QStringList orariParti = QStringList{primo, ultimo} + OrariIntermedi(intermedi);
        // A second reading of a part already stored: its time is one of the record's parts and
        // its text is in the record. The pieces of one message often share their second, so the
        // time alone proves nothing.
        if (orariParti.contains(sms.orario) && registrato.contains(sms.testo)) {
            r.esito = Esito::Duplicato;
            r.orarioPrimo = primo;
            r.testo = registrato;
            return r;
        }
        // Slots are not read in time order: a part a little older than the first joins as well.
        if (!concatenata &&
            std::abs(secondi - InterpreteSms::Orario_In_Secondi(primo)) < kSecondiUnione) {
            r.esito = Esito::Unito;
            r.orarioPrimo = primo;
            r.testo = registrato + QLatin1Char(' ') + sms.testo;
            unisciParte(rs, r.testo, sms.orario);
            return r;
        }
    }

    if (concatenata) {
        const CorpoSms::Concatenazione& c = *sms.concatenazione;
        PartiSms::Messaggio* m = parti->Trova(sms.numero, c);
        // The same piece again with another text: the reference has come round to a new message.
        if (m && m->testi.contains(c.numero))
            m = nullptr;
        for (rs.MoveFirst(); m && !rs.isEOF(); rs.MoveNext()) {
            if (rs.Testo(Campo::T3Numero) != sms.numero ||
                rs.Testo(Campo::T3DataArrivo) != m->data ||
                rs.Testo(Campo::T3OrarioArrivo) != m->orarioPrimo)
                continue;
            QMap<int, QString> testi = m->testi;
            testi.insert(c.numero, sms.testo);
            r.esito = Esito::Unito;
            r.data = m->data;
            r.orarioPrimo = m->orarioPrimo;
            r.testo = PartiSms::Testo(testi);
            unisciParte(rs, r.testo, sms.orario);
            m->testi = testi;
            return r;
        }
        // No piece yet, or its record was handled meanwhile: this piece starts a record.
    }

    rs.AddNew();
    rs.Imposta(Campo::T3Numero, sms.numero);
    rs.Imposta(Campo::T3DataArrivo, sms.data);
    rs.Imposta(Campo::T3OrarioArrivo, sms.orario);
    rs.Imposta(Campo::T3OrarioArrivo2, QString());
    rs.Imposta(Campo::T3OrarioArrivo3, QString());
    rs.Imposta(Campo::T3TestoSmsRicevuto, sms.testo);
    rs.Update();
    rs.MoveFirst();
    if (concatenata)
        parti->Nuovo(sms.numero, *sms.concatenazione, sms.data, sms.orario, sms.testo);
    r.esito = Esito::Nuovo;
    r.orarioPrimo = sms.orario;
    r.testo = sms.testo;
    return r;
}

QStringList RicezioneSms::OrariIntermedi(const QString& campo) {
    return campo.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool RicezioneSms::DalMittente(const SmsLetto& sms, const QString& mittente) {
    const QString cercato = mittente.trimmed();
    if (cercato.isEmpty())
        return false;
    // A letter or digit right beside the match makes it a piece of another word or number.
    const auto staDaSolo = [&](const QString& campo, qsizetype p) {
        const qsizetype dopo = p + cercato.size();
        return (p == 0 || !campo.at(p - 1).isLetterOrNumber()) &&
               (dopo >= campo.size() || !campo.at(dopo).isLetterOrNumber());
    };
    for (const QString& campo : {sms.mittente, sms.numero, sms.alfa})
        for (qsizetype p = campo.indexOf(cercato, 0, Qt::CaseInsensitive); p >= 0;
             p = campo.indexOf(cercato, p + 1, Qt::CaseInsensitive))
            if (staDaSolo(campo, p))
                return true;
    return false;
}

void RicezioneSms::RegistraCredito(Archivio& archivio, const QString& numeroCredito,
                                   const QString& credito) {
    Recordset& rs = archivio.ApriTabella(Tabella::DatiGestoreSim);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(Campo::TelCredito) != numeroCredito)
            continue;
        rs.Edit();
        rs.Imposta(Campo::CreditoSim, credito);
        rs.Update();
    }
}
