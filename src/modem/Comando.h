#pragma once

#include "TabellaComandi.h"

#include <QString>

// One exchange with the modem, whole: the line, how it is written, how long its answer may take.
// A feature builds one and hands it to CanaleGsm::Invia; nothing about it lives anywhere else.
struct Comando {
    // How the line goes out.
    enum class Forma {
        Semplice,      // the line, then CR
        TraVirgolette, // the line, then the argument between quotes, then CR (a USSD request)
        Indirizzo,     // AT+CMGS="<line>", then CR: the modem answers with its "> " prompt
        Testo,         // the text of an SMS after the prompt, closed by Ctrl-Z, no CR
        Chiamata,      // the line, then ";" and CR: a voice dial
    };

    ComandoGsm tipo = ComandoGsm::Test;
    QString riga;
    Forma forma = Forma::Semplice;
    int timeoutTick = 10;
    QString argomento; // TraVirgolette only
    // Sent by the timer of a window (the campaign): held while a notice of the engine is open.
    bool daFinestra = false;

    // A fixed command of the table; `posizione` is the SIM slot of a read or a delete.
    static Comando DallaTabella(ComandoGsm tipo, int posizione = 0) {
        const RigaComando r = TabellaComandi::Riga(tipo, posizione);
        return Comando{tipo, r.riga, Forma::Semplice, r.timeoutTick, {}, false};
    }
    // A line the caller composes, answered within `timeoutTick`.
    static Comando Composto(ComandoGsm tipo, const QString& riga, int timeoutTick,
                            Forma forma = Forma::Semplice) {
        return Comando{tipo, riga, forma, timeoutTick, {}, false};
    }
};
