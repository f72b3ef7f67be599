#pragma once

#include <QString>

// One message as read from a SIM slot with "AT+CMGR=", taken apart.
struct SmsLetto {
    QString stato;    // "REC READ" or "REC UNREAD"
    QString mittente; // the originator field as the modem gave it
    QString alfa;     // the phonebook name the modem put beside it, often empty
    QString numero;   // the sender as the register keeps numbers: +39 cut off
    QString data;     // dd/MM/yy from the modem's time stamp; empty when it could not be read
    QString orario;   // hh:mm:ss from the time stamp; empty when it could not be read
    QString testo;    // the whole body: inner line breaks and quotes kept

    bool timestampLeggibile() const { return !data.isEmpty(); }
};
