#include "PartiSms.h"

#include "archive/Archivio.h"
#include "archive/Schema.h"

#include <algorithm>

QList<PartiSms::Messaggio> PartiSms::Messaggi(Archivio& archivio, const QString& numero) {
    QList<Messaggio> messaggi;
    Recordset& rs = archivio.ApriTabella(Tabella::SmsParti);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(Campo::T5Numero) != numero)
            continue;
        const int riferimento = int(rs.Intero(Campo::T5Riferimento));
        const int parti = int(rs.Intero(Campo::T5Totale));
        const QString data = rs.Testo(Campo::T5DataArrivo);
        const QString primo = rs.Testo(Campo::T5OrarioArrivo);
        auto m = std::find_if(messaggi.begin(), messaggi.end(), [&](const Messaggio& x) {
            return x.riferimento == riferimento && x.parti == parti && x.data == data &&
                   x.orarioPrimo == primo;
        });
        if (m == messaggi.end()) {
            messaggi.append({riferimento, parti, data, primo, {}});
            m = messaggi.end() - 1;
        }
        m->pezzi.insert(int(rs.Intero(Campo::T5Parte)),
                        {rs.Testo(Campo::T5OrarioParte), rs.Testo(Campo::T5Testo)});
    }
    return messaggi;
}

void PartiSms::Aggiungi(Archivio& archivio, const QString& numero,
                        const CorpoSms::Concatenazione& c, const QString& data,
                        const QString& orarioPrimo, const QString& orario, const QString& testo) {
    Recordset& rs = archivio.ApriTabella(Tabella::SmsParti);
    rs.AddNew();
    rs.Imposta(Campo::T5Numero, numero);
    rs.Imposta(Campo::T5Riferimento, c.riferimento);
    rs.Imposta(Campo::T5Totale, c.parti);
    rs.Imposta(Campo::T5Parte, c.numero);
    rs.Imposta(Campo::T5DataArrivo, data);
    rs.Imposta(Campo::T5OrarioArrivo, orarioPrimo);
    rs.Imposta(Campo::T5OrarioParte, orario);
    rs.Imposta(Campo::T5Testo, testo);
    rs.Update();
}

void PartiSms::DimenticaOrfane(Archivio& archivio, const QString& numero) {
    QList<Messaggio> orfani = Messaggi(archivio, numero);
    Recordset& pendenti = archivio.ApriTabella(Tabella::SmsTemporanei);
    for (pendenti.MoveFirst(); !pendenti.isEOF() && !orfani.isEmpty(); pendenti.MoveNext()) {
        if (pendenti.Testo(Campo::T3Numero) != numero)
            continue;
        const QString data = pendenti.Testo(Campo::T3DataArrivo);
        const QString orario = pendenti.Testo(Campo::T3OrarioArrivo);
        const QString testo = pendenti.Testo(Campo::T3TestoSmsRicevuto);
        orfani.removeIf([&](const Messaggio& m) { return m.Tiene(data, orario, testo); });
    }
    if (orfani.isEmpty())
        return;
    Recordset& rs = archivio.ApriTabella(Tabella::SmsParti);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(Campo::T5Numero) != numero)
            continue;
        const bool orfana = std::any_of(orfani.cbegin(), orfani.cend(), [&](const Messaggio& m) {
            return m.riferimento == rs.Intero(Campo::T5Riferimento) &&
                   m.parti == rs.Intero(Campo::T5Totale) &&
                   m.data == rs.Testo(Campo::T5DataArrivo) &&
                   m.orarioPrimo == rs.Testo(Campo::T5OrarioArrivo);
        });
        if (orfana)
            rs.Delete();
    }
}

QString PartiSms::Testo(const QMap<int, Pezzo>& pezzi, int totale) {
    QString t;
    bool mancava = false;
    const int ultimo = std::max(totale, pezzi.isEmpty() ? 0 : pezzi.lastKey());
    for (int n = 1; n <= ultimo; ++n) {
        const auto p = pezzi.constFind(n);
        if (p != pezzi.cend()) {
            t += p->testo;
            mancava = false;
        } else if (!mancava) {
            t += SegnoMancante();
            mancava = true;
        }
    }
    return t;
}
