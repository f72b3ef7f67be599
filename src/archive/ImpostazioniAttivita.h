#pragma once

// The shop's choices the program acts on, from the settings record (Impostazioni): read at the
// start and after a restore by LetturaImpostazioni, changed by the settings window, which tells
// the change with its Cambiate signal. The application holds the value in use; the engine, the
// printing and the announcement read it through a const reference given at their making.
struct ImpostazioniAttivita {
    bool stampaAutomatica = false; // ModStampa: print each order as it arrives
    bool accensioneDtr = false;    // ModAccGsm: the modem is switched on through DTR
    bool stampa80Colonne = false;  // Mod80Colonne: receipts go to the 80-column printer
    int portaStampa80 = 0;         // ModCom80Colonne; 0, which no port has, when unreadable
};
