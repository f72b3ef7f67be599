#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The body of a received SMS as the coding its header declares: in text mode a modem shows an
// 8-bit or UCS2 body, and any body with a user-data header, as hexadecimal octets. Here those
// become the text the sender wrote, the header is taken off, and a concatenation reference
// tells which long message the piece belongs to.
class CorpoSms {
public:
    enum class Alfabeto { Gsm7, Otto, Ucs2 };

    // One piece of a long message: the same reference and count for all its pieces.
    struct Concatenazione {
        int riferimento = 0;
        int parti = 0;
        int numero = 0; // 1-based
    };
    struct Decodificato {
        QString testo;
        std::optional<Concatenazione> concatenazione;
    };

    // The alphabet of a data coding scheme; reserved and unknown values read as 7-bit.
    static Alfabeto AlfabetoDaDcs(int dcs);
    // The user-data header is present.
    static bool ConIntestazione(int fo) { return (fo & 0x40) != 0; }

    // The body shown as `dati` under `fo` and `dcs`. A 7-bit body without header is already
    // text and comes back as it is; nullopt when hexadecimal was due and `dati` is not.
    // `lunghezza` is the <length> of the extended header: for a 7-bit body with a header, the
    // septets of the whole user data (or of its text alone), which settles whether seven spare
    // bits at the end are a last "@" or padding.
    static std::optional<Decodificato> Decodifica(const QString& dati, int fo, int dcs,
                                                  std::optional<int> lunghezza = std::nullopt);

    // Octets written as pairs of hexadecimal digits; blanks and line ends around them ignored.
    static std::optional<QByteArray> DaEsadecimale(const QString& dati);
    static QString InEsadecimale(const QByteArray& ottetti);
    // The text as UCS2 octets in hexadecimal (UTF-16, big-endian), as a UCS2 body is entered.
    static QString Ucs2Esadecimale(const QString& testo);
};
