#pragma once

#include "SmsLetto.h"

#include <QString>
#include <QStringList>
#include <optional>

// Reads the reply to "AT+CMGR=" as modems really send it: the header as comma-separated,
// quote-aware fields (the alpha field may be "", a name, or missing), a two- or four-digit year
// and any zone, echo and unsolicited lines around the reply, a body of several lines that may
// hold quotes or a line reading "OK". Never reads outside the text and never fails: a reply it
// cannot read gives no message.
class InterpreteSms {
public:
    // The message in the reply; nullopt when there is none to store (an empty slot, an error, a
    // reply cut short, a header without sender or status). `insieme` is the character set the
    // modem shows texts in ("GSM" and "UCS2" are read back; others are letters already).
    static std::optional<SmsLetto> Leggi(const QString& risposta, const QString& insieme = {});

    // The single fields, empty when the reply holds no message.
    static QString Estrai_Numero(const QString& risposta);
    static QString Estrai_Data(const QString& risposta);
    static QString Estrai_Orario(const QString& risposta);
    static QString Estrai_Testo(const QString& risposta);

    // The number as customers are registered: an Italian number loses its "+39"; a national
    // number, a short code or a sender name is kept whole, and so is a foreign number, whose
    // country code has no fixed length.
    static QString NumeroNazionale(const QString& mittente);

    // Seconds since midnight of "hh:mm:ss"; parts that are not numbers count as 0.
    static int Orario_In_Secondi(const QString& orario);

    // The header's fields after "+CMGR:", quotes removed, blanks around each trimmed.
    static QStringList CampiIntestazione(const QString& intestazione);
};
