#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The SMS codings as a phone and the network make them, written for the simulator alone: it
// must not share the program's own coding, or a fault there would be mirrored here and never
// seen. The GSM 7-bit default alphabet with its extension table, the packing of septets after a
// user-data header (with the fill bits that bring them to a septet boundary), UCS2 as UTF-16
// big-endian, and hexadecimal as the modem shows coded bodies.
class CodificaSim {
public:
    enum class Dati { Sette, Otto, Ucs2 };

    // The kind of user data a data coding scheme announces (reserved values read as 7-bit).
    static Dati DatiDaDcs(int dcs);
    static bool ConIntestazione(int fo) { return fo & 0x40; }

    // The septet codes of a text: one, or ESC and one from the extension table; a character the
    // alphabet lacks becomes "?" (nullopt from Codici when any does, with `rigoroso`).
    static std::optional<QList<int>> Codici(const QString& testo, bool rigoroso = false);
    static bool NellAlfabeto(QChar c);
    // Septets packed least significant bit first after `intestazione` (its length octet
    // included), from the first septet boundary after it.
    static QByteArray Impacchetta(const QList<int>& septetti, const QByteArray& intestazione = {});
    // Septets needed by a header of `ottetti` octets (header and fill bits).
    static int SeptettiIntestazione(int ottetti) { return (ottetti * 8 + 6) / 7; }

    static QByteArray Ucs2(const QString& testo);
    static QString DaUcs2(const QByteArray& ottetti);
    // Pairs of hexadecimal digits, upper case; nullopt for anything else.
    static QByteArray Esadecimale(const QByteArray& ottetti) { return ottetti.toHex().toUpper(); }
    static std::optional<QByteArray> DaEsadecimale(const QByteArray& testo);

    // The header element of a piece of a long message (without the header's length octet): the
    // 8-bit reference element below 256, the 16-bit one from there on.
    static QByteArray IntestazioneConcatenazione(int riferimento, int totale, int numero);
};
