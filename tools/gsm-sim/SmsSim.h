#pragma once

#include <QByteArray>
#include <optional>

// One message held in a SIM slot, kept as the bytes the modem shows on the line.
struct SmsSim {
    enum class Stato { NonLetto, Letto };

    Stato stato = Stato::NonLetto;
    QByteArray mittente;
    // Empty is shown as "", nullopt leaves the field out altogether (two commas in a row).
    std::optional<QByteArray> alfa = QByteArray();
    QByteArray timestamp; // as shown, e.g. "24/05/01,10:00:00+08"; odd forms stay as given
    QByteArray testo;     // raw: quotes, CR LF and whole lines like "OK" are kept
    // First octet and data coding scheme: a body with a user-data header (fo 0x44) or coded in
    // 8 bits or UCS2 is kept as the hexadecimal the modem shows; a plain one as its characters.
    int fo = 0x04;
    int dcs = 0;
    // A 7-bit body with a header: the septets of its user data, header and fill included, as
    // the network counts them (and <length> shows them).
    std::optional<int> septetti;
    // A plain body made from the text a phone sent (not bytes a test put on the line as they
    // are): each character set shows what it can of it.
    bool dalTelefono = false;
};
