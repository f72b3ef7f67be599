#pragma once

#include <QString>

// The kinds of exchange with the modem. A kind names the command in the diagnostics and in the
// tests, and picks the fixed line of the table; the reply goes to the handler given with the
// command, never to one chosen by kind.
enum class ComandoGsm : int {
    Test = 0,             // "AT"
    EcoSpenta = 1,        // "ATE0"
    Revisione = 2,        // "AT+CGMR"
    ModoTesto = 3,        // "AT+CMGF=1"
    ErroriEstesi = 4,     // "AT+CMEE=2"
    Registrazione = 5,    // "AT+CREG?"
    Segnale = 6,          // "AT+CSQ"
    LetturaSms = 7,       // "AT+CMGR=<slot>"
    Credito = 8,          // composed by the credit request
    CancellazioneSms = 9, // "AT+CMGD=<slot>"
    ServiziChiamata = 10, // composed by the call-service request
    StatoSim = 11,        // "AT+CLCK?"
    InserimentoPin = 12,  // "AT+CPIN=..." composed by the PIN entry
    BloccoPin = 13,       // "AT+CLCK=..." composed by the PIN request switch
    Rubrica = 14,         // "AT+CPBR=1"
    InvioSms = 15,        // composed by the sending of an SMS
    MemoriaSms = 16,      // "AT+CPMS?": how many messages the SIM holds
    Modello = 17,         // "AT+CGMM": the modem's model, for the settings window
    CodificaSms = 20,     // composed by the character set and coding settings of SMS
};

// One row of the command table: the line written and the ticks after which a missing reply is
// given up.
struct RigaComando {
    QString riga; // empty where the caller composes the line
    int timeoutTick = 10;
};

class TabellaComandi {
public:
    // `posizione` is the SIM slot of a read or a delete.
    static RigaComando Riga(ComandoGsm comando, int posizione = 0);
    // An SMS address line waits up to ten seconds for the prompt; its text, once out, up to three
    // minutes for the network.
    static constexpr int kTimeoutIndirizzo = 100;
    static constexpr int kTimeoutTesto = 1800;
};
