#pragma once

#include "CartellaDiProva.h"
#include "DialogoRegistrato.h"
#include "ModemCopione.h"
#include "PortaSerialeMemoria.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "modem/MotoreGsm.h"

#include <functional>
#include <memory>

class Archivio;

// The modem engine over an in-memory port on COM1 with a scripted modem behind it, on a fresh
// program folder whose operator in use is "TIM". Driven tick by tick: the engine's steps of the
// main timer, with no window and no event loop.
struct BancoMotore {
    CartellaDiProva cartella;
    std::unique_ptr<StatoGlobale> globale;
    ImpostazioniAttivita impostazioni;
    PortaSerialeMemoria porta;
    ModemCopione modem;
    DialogoRegistrato dialogo;
    std::unique_ptr<MotoreGsm> motore;

    // `prepara` writes records before the settings are read.
    explicit BancoMotore(bool conDtr = false, const std::function<void(Archivio&)>& prepara = {});

    StatoModem& s() { return motore->stato; }
    PannelloGsm& p() { return motore->pannello; }

    // The end of the splash: the search from COM1.
    void accendi();
    void tick(int n = 1);
    // Ticks until the condition holds, at most `massimo`; the ticks it took, or -1.
    int tickFinche(const std::function<bool()>& condizione, int massimo = 5000);
    bool abilitato() const;
    // From the search until the SIM is usable.
    void avviaFinoAdAbilitato();
    // The lines written to the modem since the last call.
    QStringList nuoveRighe();

private:
    qsizetype righeViste_ = 0;
};
