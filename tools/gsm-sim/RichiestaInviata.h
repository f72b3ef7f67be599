#pragma once

#include <QByteArray>
#include <QString>

// Something the program asked the modem to send out: a text, a USSD code or a call.
struct RichiestaInviata {
    enum class Tipo { Sms, Ussd, Chiamata };

    Tipo tipo = Tipo::Sms;
    QByteArray destinatario; // the number, or the service code for USSD and calls
    QByteArray testo;        // SMS only
    int riferimento = 0;     // SMS only: the reference given back in +CMGS
    QString arrivato = {};   // SMS only: the text as the recipient's phone shows it
};
