#pragma once

#include "CartellaDiProva.h"
#include "ModemCopione.h"
#include "PortaSerialeMemoria.h"
#include "app/FormMain.h"
#include "archive/StatoGlobale.h"

#include <functional>
#include <memory>

class Archivio;

// One program folder, one shared state and one main window over an in-memory port, driven tick
// by tick by the test: no case runs the event loop or waits on the clock.
struct BancoFormMain {
    CartellaDiProva cartella;
    std::unique_ptr<StatoGlobale> stato;
    PortaSerialeMemoria* porta = nullptr;
    std::unique_ptr<Applicazione> applicazione;
    std::unique_ptr<FormMain> form;
    ModemCopione modem;

    BancoFormMain() { rinnova(); }

    // A new state, working parts and window over the same folder (to start after changing the
    // archive).
    void rinnova();
    Archivio& archivioDiretto();
    StatoModem& s() { return form->Motore().stato; }
    // The scripted modem answers on COM1.
    void collegaModem();

    // Ticks of the main timer; the port's clock moves with them.
    void tick(int n = 1);
    // Ticks until the condition holds, at most `massimo`; the number of ticks it took, or -1.
    int tickFinche(const std::function<bool()>& condizione, int massimo = 5000);

    // Start-up through the splash and the first list fill.
    void avviaFinoAllaLista();
};
