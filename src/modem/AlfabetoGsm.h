#pragma once

#include <QByteArray>
#include <QString>

// The GSM 7-bit default alphabet with its extension table: what a plain SMS can carry, and the
// unpacking of the septets of a body that the modem shows as hexadecimal octets.
class AlfabetoGsm {
public:
    // The character travels in a 7-bit SMS (one septet, or two through the extension table).
    static bool Contiene(char32_t carattere);
    // The text of the septets packed in `ottetti`, after the first `salto` bits (the user-data
    // header and its fill bits).
    static QString Spacchetta(const QByteArray& ottetti, int salto);
    // The other way: `intestazione` (a user-data header, or nothing), then the septets of `testo`
    // from the next septet boundary; a character outside the alphabet travels as "?".
    static QByteArray Impacchetta(const QString& testo, const QByteArray& intestazione = {});
};
