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
    // header and its fill bits). With `septetti` (the count the message declares) exactly those
    // are read; without it, seven spare bits at the end that read as "@" or CR are taken for
    // padding.
    static QString Spacchetta(const QByteArray& ottetti, int salto, int septetti = -1);
    // The text of a string of septet codes, one per character (the "GSM" character set of the
    // line), escapes to the extension table included; codes above 0x7F stay as they are.
    static QString DaCodici(const QString& codici);
    // The other way: `intestazione` (a user-data header, or nothing), then the septets of `testo`
    // from the next septet boundary; a character outside the alphabet travels as "?".
    static QByteArray Impacchetta(const QString& testo, const QByteArray& intestazione = {});
};
