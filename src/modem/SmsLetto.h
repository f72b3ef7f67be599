#pragma once

#include "CorpoSms.h"

#include <QString>
#include <optional>

// One message as read from a SIM slot with "AT+CMGR=", taken apart.
struct SmsLetto {
    QString stato;    // "REC READ" or "REC UNREAD"
    QString mittente; // the originator field as the modem gave it
    QString alfa;     // the phonebook name the modem put beside it, often empty
    QString numero;   // the sender as the register keeps numbers: +39 cut off
    QString data;     // dd/MM/yy from the modem's time stamp; empty when it could not be read
    QString orario;   // hh:mm:ss from the time stamp; empty when it could not be read
    QString testo;    // the whole body: inner line breaks and quotes kept; decoded when coded
    QString corpo;    // the body as the modem showed it
    // First octet and data coding scheme, when the modem shows the extended header.
    std::optional<int> fo;
    std::optional<int> dcs;
    // <length> of the extended header: characters of a plain body, octets or septets of a coded
    // one.
    std::optional<int> lunghezza;
    // The piece of a long message that this is, from its user-data header.
    std::optional<CorpoSms::Concatenazione> concatenazione;

    bool timestampLeggibile() const { return !data.isEmpty(); }
};
