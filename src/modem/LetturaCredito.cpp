#include "LetturaCredito.h"

#include "CorpoSms.h"
#include "platform/Testo.h"

#include <QRegularExpression>

std::optional<QString> LetturaCredito::TestoUssd(const QString& risposta) {
    const qsizetype riga = risposta.indexOf(QLatin1String("+CUSD:"), 0, Qt::CaseInsensitive);
    if (riga < 0)
        return std::nullopt;
    const qsizetype apertura = risposta.indexOf(QLatin1Char('"'), riga);
    if (apertura < 0)
        return std::nullopt;
    const qsizetype chiusura = risposta.indexOf(QLatin1Char('"'), apertura + 1);
    if (chiusura < 0)
        return std::nullopt;
    const QString testo = risposta.mid(apertura + 1, chiusura - apertura - 1);
    // A network that answers in UCS2 or 8-bit (the coding after the text) shows the answer as
    // hexadecimal octets.
    static const QRegularExpression codifica(QStringLiteral("^\\s*,\\s*(\\d+)"));
    const QRegularExpressionMatch m = codifica.match(risposta.mid(chiusura + 1));
    if (m.hasMatch() && CorpoSms::AlfabetoDaDcs(m.captured(1).toInt()) != CorpoSms::Alfabeto::Gsm7)
        if (const auto decodificato = CorpoSms::Decodifica(testo, 0, m.captured(1).toInt()))
            return decodificato->testo;
    return testo;
}

std::optional<QString> LetturaCredito::Credito(const QString& testo) {
    const int p = Testo::InStr(testo, QStringLiteral("euro"));
    if (p < 7)
        return std::nullopt;
    const QString credito = Testo::Mid(testo, p - 6, 5).trimmed();
    for (const QChar c : credito)
        if (c.isDigit())
            return credito;
    return std::nullopt;
}

double LetturaCredito::Valore(const QString& credito) {
    return Testo::Val(credito);
}
