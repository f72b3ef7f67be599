#pragma once

#include <QString>
#include <optional>

// The command indices of the modem dialogue: each selects the line sent and, later, the handler
// of its reply. Other windows set the index of a command they need before asking to send it.
enum class ComandoGsm : int {
    Test = 0,             // "AT"
    EcoSpenta = 1,        // "ATE0"
    Revisione = 2,        // "AT+CGMR"
    ModoTesto = 3,        // "AT+CMGF=1"
    ErroriEstesi = 4,     // "AT+CMEE=2"
    Registrazione = 5,    // "AT+CREG?"
    Segnale = 6,          // "AT+CSQ"
    LetturaSms = 7,       // "AT+CMGR=<slot>"
    Credito = 8,          // prepared by the credit request
    CancellazioneSms = 9, // "AT+CMGD=<slot>"
    ServiziChiamata = 10, // prepared by the call-service request
    StatoSim = 11,        // "AT+CLCK?"
    InserimentoPin = 12,  // "AT+CPIN=..." prepared by the PIN entry
    BloccoPin = 13,       // "AT+CLCK=..." prepared by the PIN request switch
    Rubrica = 14,         // "AT+CPBR=1": never selected, no handler
    InvioSms = 15,        // prepared by the campaign window
    MemoriaSms = 16,      // "AT+CPMS?": how many messages the SIM holds
    CodificaSms = 20,     // prepared by the character set and coding settings of SMS
};

// One row of the command table: the line written and the ticks after which a missing reply is
// given up.
struct RigaComando {
    QString riga; // empty where the caller prepares the line itself
    int timeoutTick = 10;
    bool preparatoDalChiamante = false;
};

class TabellaComandi {
public:
    // `indiceSim` is the SIM slot of the read (already advanced) and of the delete; `faseTesto`
    // is set while the text of an SMS is due. An index with no row gives nullopt.
    static std::optional<RigaComando> Comando(ComandoGsm comando, int indiceSim, bool faseTesto);
};
