#include "RicezioneSms.h"

#include "InterpreteSms.h"
#include "PartiSms.h"
#include "archive/Archivio.h"
#include "archive/RubricaClienti.h"
#include "archive/Schema.h"
#include "archive/Transazione.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <optional>

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
        r.nome = RubricaClienti::NuovoCliente();
    r.data = sms.data;
    if (sms.concatenazione)
        return registraParte(archivio, sms, r);

    // Records made of pieces of long messages take no plain message, and the reverse.
    const QList<PartiSms::Messaggio> lunghi = PartiSms::Messaggi(archivio, sms.numero);
    const int secondi = InterpreteSms::Orario_In_Secondi(sms.orario);
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(Campo::T3Numero) != sms.numero || rs.Testo(Campo::T3DataArrivo) != sms.data)
            continue;
        const QString primo = rs.Testo(Campo::T3OrarioArrivo);
        const QString registrato = rs.Testo(Campo::T3TestoSmsRicevuto);
        if (std::any_of(lunghi.cbegin(), lunghi.cend(), [&](const PartiSms::Messaggio& m) {
                return m.Tiene(sms.data, primo, registrato);
            }))
            continue;
        const QString ultimo = rs.Testo(Campo::T3OrarioArrivo2);
        const QString intermedi = rs.Testo(Campo::T3OrarioArrivo3);
        const QStringList orariParti = QStringList{primo, ultimo} + OrariIntermedi(intermedi);
        // A second reading of a message already stored: its time is one of the record's and its
        // text one of the record's pieces, as joined with one space. The pieces of one message
        // often share their second, so the time alone proves nothing.
        if (orariParti.contains(sms.orario) && PezzoDi(registrato, sms.testo)) {
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
            unisciParte(rs, r.testo, sms.orario);
            return r;
        }
    }
    nuovoRecord(archivio, sms, sms.testo);
    r.esito = Esito::Nuovo;
    r.orarioPrimo = sms.orario;
    r.testo = sms.testo;
    return r;
}

// A piece of a long message, known by sender, reference, count and number: it joins the record
// of the other pieces of its message, or starts one; the same piece read again changes nothing.
RicezioneSms::Risultato RicezioneSms::registraParte(Archivio& archivio, const SmsLetto& sms,
                                                    Risultato r) {
    const CorpoSms::Concatenazione& c = *sms.concatenazione;
    Transazione t(archivio);
    PartiSms::DimenticaOrfane(archivio, sms.numero);
    // The latest message of this reference; the same piece again with another text means the
    // reference has come round to a new message.
    std::optional<PartiSms::Messaggio> m;
    for (const PartiSms::Messaggio& x : PartiSms::Messaggi(archivio, sms.numero))
        if (x.riferimento == c.riferimento && x.parti == c.parti)
            m = x;
    if (m && m->pezzi.contains(c.numero)) {
        if (m->pezzi.value(c.numero).testo == sms.testo) {
            r.esito = Esito::Duplicato;
            r.data = m->data;
            r.orarioPrimo = m->orarioPrimo;
            r.testo = m->Testo();
            return r;
        }
        m.reset();
    }
    if (m) {
        const QString prima = m->Testo();
        m->pezzi.insert(c.numero, {sms.orario, sms.testo});
        r.esito = Esito::Unito;
        r.data = m->data;
        r.orarioPrimo = m->orarioPrimo;
        r.testo = m->Testo();
        // The record is there: messages whose record went were forgotten above.
        Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
        for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
            if (rs.Testo(Campo::T3Numero) == sms.numero &&
                rs.Testo(Campo::T3DataArrivo) == m->data &&
                rs.Testo(Campo::T3OrarioArrivo) == m->orarioPrimo &&
                rs.Testo(Campo::T3TestoSmsRicevuto) == prima) {
                unisciParte(rs, r.testo, sms.orario);
                PartiSms::Aggiungi(archivio, sms.numero, c, m->data, m->orarioPrimo, sms.orario,
                                   sms.testo);
                t.Conferma();
                return r;
            }
    }
    PartiSms::Messaggio nuovo{c.riferimento, c.parti, sms.data, sms.orario, {}};
    nuovo.pezzi.insert(c.numero, {sms.orario, sms.testo});
    r.esito = Esito::Nuovo;
    r.data = sms.data;
    r.orarioPrimo = sms.orario;
    r.testo = nuovo.Testo();
    PartiSms::Aggiungi(archivio, sms.numero, c, sms.data, sms.orario, sms.orario, sms.testo);
    nuovoRecord(archivio, sms, r.testo);
    t.Conferma();
    return r;
}

void RicezioneSms::nuovoRecord(Archivio& archivio, const SmsLetto& sms, const QString& testo) {
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    rs.AddNew();
    rs.Imposta(Campo::T3Numero, sms.numero);
    rs.Imposta(Campo::T3DataArrivo, sms.data);
    rs.Imposta(Campo::T3OrarioArrivo, sms.orario);
    rs.Imposta(Campo::T3OrarioArrivo2, QString());
    rs.Imposta(Campo::T3OrarioArrivo3, QString());
    rs.Imposta(Campo::T3TestoSmsRicevuto, testo);
    rs.Update();
    rs.MoveFirst();
}

bool RicezioneSms::PezzoDi(const QString& registrato, const QString& testo) {
    const QString spazio(QLatin1Char(' '));
    return registrato == testo || registrato.startsWith(testo + spazio) ||
           registrato.endsWith(spazio + testo) || registrato.contains(spazio + testo + spazio);
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
