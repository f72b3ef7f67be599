#pragma once

#include <QString>
#include <optional>

// Reading the supervision replies of the modem. Each function takes the whole framed reply, as
// it came (echo, unsolicited lines and noise included), and never reads outside it.
class RisposteModem {
public:
    // The reply holds the token, without regard to case.
    static bool Contiene(const QString& risposta, const QString& token);

    // The revision text: what follows the second delimiter (':' or carriage return) up to the
    // third; the character right after a delimiter is never itself taken as one.
    static QString Estrai_Revisione(const QString& risposta);

    // The registration state of "+CREG: <n>,<stato>": the one character four places after the
    // ':' of "+CREG:" (of the first ':' when the reply has no such line; empty when shorter).
    static QString StatoRegistrazione(const QString& risposta);

    // The signal level 0..100 of "+CSQ: <rssi>,<ber>": the value of the three characters after
    // the ':' of "+CSQ:" (or the first ':') times 10/3, rounded, at most 100; 0 for 99 (signal not
    // known); -1 when the reply has no ':'.
    static int LivelloSegnale(const QString& risposta);

    // What "AT+CPMS?" reports of the storage messages are read from: the slots in use and the
    // slots there are. nullopt when the modem did not answer it with both numbers and OK.
    struct MemoriaSim {
        int usati = 0;
        int totale = 0;
    };
    static std::optional<MemoriaSim> Memoria(const QString& risposta);

    enum class StatoSim { PukRichiesto, PinRichiesto, SimAssente, Pronta };
    // The SIM condition from the reply to "AT+CLCK?", tokens taken in this order: PUK, PIN,
    // "inserted" (no SIM), otherwise ready.
    static StatoSim StatoDellaSim(const QString& risposta);
};
