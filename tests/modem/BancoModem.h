#pragma once

#include "BancoFormMain.h"
#include "CopioneMessaggi.h"
#include "ModemCopione.h"

// The main window over an in-memory port on COM1 with a scripted modem behind it; every box is
// answered with its default button and recorded.
struct BancoModem : BancoFormMain {
    ModemCopione modem;
    CopioneMessaggi copione;

    explicit BancoModem(bool conDtr = false);

    // Start-up until the SIM is usable (the PIN label reads "GSM ABILITATO").
    void avviaFinoAdAbilitato();
    bool abilitato() const;
    // The lines written to the modem since the last call.
    QStringList nuoveRighe();

private:
    qsizetype righeViste_ = 0;
};
