#include "InterpreteSms.h"

#include "InsiemeCaratteri.h"
#include "RispostaAt.h"

#include <QRegularExpression>

namespace {

struct Timestamp {
    QString data;
    QString orario;
};

std::optional<Timestamp> leggiTimestamp(const QString& campo) {
    static const QRegularExpression forma(QStringLiteral(
        R"(^\s*(\d{2}|\d{4})/(\d{1,2})/(\d{1,2})\s*,\s*(\d{1,2}):(\d{1,2}):(\d{1,2})\s*([+-]\s*\d{1,2})?\s*$)"));
    const QRegularExpressionMatch m = forma.match(campo);
    if (!m.hasMatch())
        return std::nullopt;
    const int mese = m.captured(2).toInt();
    const int giorno = m.captured(3).toInt();
    const int ore = m.captured(4).toInt();
    const int minuti = m.captured(5).toInt();
    const int secondi = m.captured(6).toInt();
    if (mese < 1 || mese > 12 || giorno < 1 || giorno > 31 || ore > 23 || minuti > 59 ||
        secondi > 59)
        return std::nullopt;
    const auto due = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    const QString anno = m.captured(1).right(2);
    return Timestamp{due(giorno) + QLatin1Char('/') + due(mese) + QLatin1Char('/') + anno,
                     due(ore) + QLatin1Char(':') + due(minuti) + QLatin1Char(':') + due(secondi)};
}

// A header number from 0 to 255, or nothing.
std::optional<int> ottetto(const QString& campo) {
    bool ok = false;
    const int v = campo.toInt(&ok);
    if (!ok || v < 0 || v > 255)
        return std::nullopt;
    return v;
}

} // namespace

QStringList InterpreteSms::CampiIntestazione(const QString& intestazione) {
    QStringList campi;
    QString campo;
    bool traVirgolette = false;
    for (qsizetype i = 0; i < intestazione.size(); ++i) {
        const QChar c = intestazione.at(i);
        if (c == QLatin1Char('"')) {
            // A quote inside a quoted field closes it only before a comma or the end of the
            // line: a sender's name may hold quotes of its own (Bar "Da Gino").
            if (!traVirgolette && campo.trimmed().isEmpty()) {
                traVirgolette = true;
                continue;
            }
            if (traVirgolette) {
                qsizetype dopo = i + 1;
                while (dopo < intestazione.size() && intestazione.at(dopo) == QLatin1Char(' '))
                    ++dopo;
                if (dopo == intestazione.size() || intestazione.at(dopo) == QLatin1Char(',') ||
                    intestazione.at(dopo) == QLatin1Char('\r') ||
                    intestazione.at(dopo) == QLatin1Char('\n')) {
                    traVirgolette = false;
                    continue;
                }
            }
        }
        if (c == QLatin1Char(',') && !traVirgolette) {
            campi << campo.trimmed();
            campo.clear();
            continue;
        }
        campo.append(c);
    }
    campi << campo.trimmed();
    return campi;
}

QString InterpreteSms::NumeroNazionale(const QString& mittente) {
    if (mittente.startsWith(QLatin1String("+39")))
        return mittente.mid(3);
    return mittente;
}

int InterpreteSms::Orario_In_Secondi(const QString& orario) {
    return orario.mid(0, 2).toInt() * 3600 + orario.mid(3, 2).toInt() * 60 +
           orario.mid(6, 2).toInt();
}

std::optional<SmsLetto> InterpreteSms::Leggi(const QString& risposta, const QString& insieme) {
    using Tipo = RispostaAt::Tipo;
    const RispostaAt r(risposta);
    const auto& linee = r.Righe();

    // The header: the first line holding "+CMGR:" (noise may stand before it on its line).
    qsizetype intestazione = -1;
    qsizetype inizioCampi = 0;
    for (qsizetype i = 0; i < linee.size(); ++i) {
        const qsizetype p = r.TestoRiga(i).indexOf(QLatin1String("+CMGR:"), 0, Qt::CaseInsensitive);
        if (p >= 0) {
            intestazione = i;
            inizioCampi = linee[i].inizio + p + 6;
            break;
        }
    }
    if (intestazione < 0)
        return std::nullopt;

    // The final result: the last line reading "OK"; a body line "OK" comes before it.
    qsizetype finale = -1;
    for (qsizetype i = linee.size() - 1; i > intestazione; --i) {
        if (linee[i].tipo == Tipo::Ok) {
            finale = i;
            break;
        }
    }
    if (finale < 0)
        return std::nullopt;

    const QStringList campi =
        CampiIntestazione(risposta.mid(inizioCampi, linee[intestazione].fine - inizioCampi));
    SmsLetto sms;
    sms.stato = campi.value(0);
    sms.mittente = InsiemeCaratteri::DalModem(campi.value(1), insieme);
    if (!sms.stato.contains(QLatin1String("READ"), Qt::CaseInsensitive) || sms.mittente.isEmpty())
        return std::nullopt;
    sms.numero = NumeroNazionale(sms.mittente);

    // The time stamp is the first field after the sender that reads as one; a modem that leaves
    // it unquoted splits it at its comma, so two neighbouring fields are tried together too.
    qsizetype dopoTimestamp = -1;
    for (qsizetype i = 2; i < campi.size(); ++i) {
        std::optional<Timestamp> t = leggiTimestamp(campi[i]);
        qsizetype presi = 1;
        if (!t && i + 1 < campi.size()) {
            t = leggiTimestamp(campi[i] + QLatin1Char(',') + campi[i + 1]);
            presi = 2;
        }
        if (t) {
            sms.data = t->data;
            sms.orario = t->orario;
            if (i > 2)
                sms.alfa = InsiemeCaratteri::DalModem(campi[2], insieme);
            dopoTimestamp = i + presi;
            break;
        }
    }
    // The extended header: <tooa>,<fo>,<pid>,<dcs>,... after the time stamp.
    if (dopoTimestamp > 0) {
        sms.fo = ottetto(campi.value(dopoTimestamp + 1));
        sms.dcs = ottetto(campi.value(dopoTimestamp + 3));
        bool ok = false;
        const int lunghezza = campi.value(dopoTimestamp + 6).toInt(&ok);
        if (ok && lunghezza >= 0)
            sms.lunghezza = lunghezza;
    }
    if (sms.data.isEmpty() && campi.size() > 2)
        sms.alfa = InsiemeCaratteri::DalModem(campi[2], insieme);

    // The body: everything between the header line and the final result, less the unsolicited
    // lines that stand apart (after an empty line) right before the result.
    qsizetype ultima = finale - 1;
    while (ultima > intestazione) {
        const Tipo t = linee[ultima].tipo;
        if (t == Tipo::Vuota || (t == Tipo::NonRichiesta && ultima - 1 > intestazione &&
                                 linee[ultima - 1].tipo == Tipo::Vuota))
            --ultima;
        else
            break;
    }
    if (ultima > intestazione) {
        const qsizetype da = linee[intestazione].dopo;
        sms.testo = risposta.mid(da, linee[ultima].fine - da);
    }
    sms.corpo = sms.testo;
    const bool semplice = !sms.fo || !sms.dcs ||
                          (!CorpoSms::ConIntestazione(*sms.fo) &&
                           CorpoSms::AlfabetoDaDcs(*sms.dcs) == CorpoSms::Alfabeto::Gsm7);
    if (semplice) {
        // A plain body is in the line's character set.
        sms.testo = InsiemeCaratteri::DalModem(sms.corpo, insieme);
    } else if (const auto d = CorpoSms::Decodifica(sms.corpo, *sms.fo, *sms.dcs, sms.lunghezza)) {
        // A body that does not read as its coding says is kept as the modem showed it.
        sms.testo = d->testo;
        sms.concatenazione = d->concatenazione;
    }
    return sms;
}

QString InterpreteSms::Estrai_Numero(const QString& risposta) {
    const auto sms = Leggi(risposta);
    return sms ? sms->numero : QString();
}

QString InterpreteSms::Estrai_Data(const QString& risposta) {
    const auto sms = Leggi(risposta);
    return sms ? sms->data : QString();
}

QString InterpreteSms::Estrai_Orario(const QString& risposta) {
    const auto sms = Leggi(risposta);
    return sms ? sms->orario : QString();
}

QString InterpreteSms::Estrai_Testo(const QString& risposta) {
    const auto sms = Leggi(risposta);
    return sms ? sms->testo : QString();
}
