#pragma once

#include <QString>

// What a plain (7-bit) SMS typed in the modem's character set carries to the phone: a character
// must exist in that set, to reach the modem, and in the GSM alphabet, to travel. Anything else
// arrives changed, unless the message goes out as UCS2.
class InsiemeCaratteri {
public:
    // The set the program asks the modem for.
    static constexpr const char* Latino1 = "8859-1";
    // A UCS2 message holds at most this many characters (UTF-16 units).
    static constexpr int MassimoUcs2 = 70;

    // `insieme` is the modem's set as "AT+CSCS" names it; any set not known here is taken as
    // IRA (plain ASCII), the default of the standard.
    static bool Trasmette(char32_t carattere, const QString& insieme);
    // The characters of `testo` that a plain SMS would not carry, each once, in order.
    static QString NonTrasmessi(const QString& testo, const QString& insieme);
    // A text field as the modem shows it in `insieme`, read back: "GSM" shows the septet codes
    // ("@" as NUL, "€" as ESC "e"), "UCS2" shows hexadecimal; any other set shows the letters.
    static QString DalModem(const QString& testo, const QString& insieme);
};
