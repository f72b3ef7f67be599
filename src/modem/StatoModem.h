#pragma once

#include "TabellaComandi.h"

// The state of the modem dialogue that the engine's parts share: the port being tried, the one
// outstanding command, the power pulse and the test delay, polling, the PIN entries and the
// closing. Plain fields, so that a test can look at any of them after any tick.
struct StatoModem {
    // Port search and opening.
    int PortaCom = 1;              // COM port tried or in use, 1..16
    bool RicercaPorta = false;     // the opening moves on to the next port
    bool AperturaInCorso = false;  // the start-up has not finished: closing is refused
    bool AttesaAccensione = false; // port just opened: the DTR power-on pulse runs

    // The next command to send; each command sent keeps its own index for its reply.
    ComandoGsm TipoComando = ComandoGsm::Test;

    // The one outstanding command.
    bool InAttesaRisposta = false;
    int TickAttesa = 0; // ticks since the command was written; 0 when none is pending
    int TimeoutTick = 10;
    int IndiceSim = 0; // SIM slot of the last read or delete
    // Asked for the next command only: sending it moves them into its own record.
    bool FaseTesto = false;
    bool ChiamataVocale = false;
    bool ArgomentoTraVirgolette = false;

    // Power, test and polling.
    bool SpegnimentoRichiesto = false;
    bool AttesaTest = false;
    bool TestInCorso = false;
    int TickAccensione = 0;
    int TickPolling = 0;
    bool Registrato = false;
    int MancateRisposte = 0;
    int Riaccensioni = 0;

    // PIN and PUK.
    int TentativiPin = 0;

    // Closing confirmed: nothing more is sent, replies are ignored.
    bool ChiusuraRichiesta = false;
    // The diagnostic lists are shown: every line exchanged goes to them.
    bool DiagnosticaAttiva = false;
};
