#pragma once

#include "BancoFormMain.h"
#include "CopioneMessaggi.h"
#include "SimulatorePty.h"

#include <QStringList>
#include <functional>
#include <memory>

class PortaSerialeQt;

// The real main window on the real serial layer, with the project's modem simulator on a
// pseudo-terminal linked as porte/COMn. Each tick first lets every byte written reach the other
// side and be answered, so the run is the same on a fast or a slow machine.
struct BancoPty {
    CartellaDiProva cartella;
    std::unique_ptr<StatoGlobale> stato;
    PortaSerialeQt* porta = nullptr;
    std::unique_ptr<FormMain> form;
    SimulatorePty sim;
    CopioneMessaggi copione;
    QStringList statiPorta; // every text the port label took, in order

    // `preparaArchivio` writes records before the window opens the archive.
    explicit BancoPty(int com = 1, bool conDtr = false,
                      const std::function<void(Archivio&)>& preparaArchivio = {});

    void passa();
    void tick(int n = 1);
    bool finche(const std::function<bool()>& condizione, int massimo = 3000);
    bool abilitato() const;
    // Through the splash and the start-up chain; false when the modem never became ready.
    bool avvia();
    QList<QByteArray> comandi();
};
