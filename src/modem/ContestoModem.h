#pragma once

#include "AvvisiModem.h"
#include "PannelloGsm.h"
#include "StatoModem.h"

#include <QDateTime>
#include <functional>

struct StatoGlobale;
struct ImpostazioniAttivita;
class PortaSeriale;
class DialogoUtente;
class CanaleGsm;

// What a part of the modem engine works with: the channel to send its commands through, the
// panel it updates, the user it tells things to (through the notices), the engine's counters
// and the settings the program acts on. Parts never reach each other through it: a part that needs
// another is given that one alone.
struct ContestoModem {
    StatoGlobale& globale;
    const ImpostazioniAttivita& impostazioni;
    PortaSeriale& porta;
    DialogoUtente& utente;
    StatoModem& stato;
    PannelloGsm& pannello;
    CanaleGsm& canale;
    AvvisiModem& avvisi;
    // The clock that dates a message whose time stamp could not be read.
    const std::function<QDateTime()>& orologio;
};
