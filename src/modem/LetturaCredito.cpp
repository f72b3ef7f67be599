#include "LetturaCredito.h"

#include "platform/Testo.h"

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
    return risposta.mid(apertura + 1, chiusura - apertura - 1);
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
