#pragma once

// The state of the modem dialogue that the engine keeps: the port being tried, the line's
// counters, the power pulse and the test delay, polling, the PIN entries and the closing. Plain
// fields, so that a test can look at any of them after any tick. What one exchange needs travels
// in its `Comando`, never here.
struct StatoModem {
    // Port search and opening.
    int PortaCom = 1;              // COM port tried or in use, 1..16
    bool RicercaPorta = false;     // the opening moves on to the next port
    bool AperturaInCorso = false;  // the start-up has not finished: closing is refused
    bool AttesaAccensione = false; // port just opened: the DTR power-on pulse runs
    bool GsmAbilitato = false;     // the start-up chain reached the modem's revision

    // The command on the line, as the channel counts it.
    bool InAttesaRisposta = false;
    int TickAttesa = 0; // ticks since the command was written; 0 when none is pending

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
