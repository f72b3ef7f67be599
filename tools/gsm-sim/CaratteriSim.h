#pragma once

#include "SmsSim.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The character sets of the simulated modem as real ones handle them: message bodies shown in
// the set chosen with AT+CSCS (IRA shows "?" for what it cannot carry), coded bodies shown as
// hexadecimal, and the text of a sent SMS as the recipient's phone would show it.
class CaratteriSim {
public:
    // The sets offered; a modem without "8859-1" keeps "GSM" or IRA.
    static QByteArray ElencoInsiemi(bool con8859 = true);
    static bool InsiemeNoto(const QByteArray& insieme, bool con8859 = true);

    // The body of a received message as AT+CMGR shows it in `insieme`.
    static QByteArray CorpoMostrato(const SmsSim& s, const QByteArray& insieme);
    // A header field (sender, name) as shown in `insieme`.
    static QByteArray CampoMostrato(const QByteArray& campo, const QByteArray& insieme);
    // <length>: characters of a plain body, septets of the user data of a 7-bit one with a
    // header (the header's included, as the network counts them), octets of the others.
    static int Lunghezza(const SmsSim& s);
    // What arrives of the text typed after AT+CMGS; nullopt when a coded text is no hexadecimal.
    static std::optional<QString> TestoInviato(QByteArray testo, const QByteArray& insieme,
                                               int dcs);

    // A message arriving as `codifica` ("7bit", "8bit", "ucs2"), as piece `parte` ("RIF/TOT/NUM",
    // a reference from 256 up with the 16-bit header element) of a long message when given. False,
    // with the reason, for a coding or piece not understood.
    static bool Componi(SmsSim& s, const QString& testo, const QString& codifica,
                        const QString& parte, QString* errore);
};
