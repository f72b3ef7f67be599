#pragma once

#include "CartellaDiProva.h"
#include "DialogoRegistrato.h"
#include "SimulatorePty.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "modem/MotoreGsm.h"
#include "platform/PortaSerialeQt.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

// Lets every byte `porta` wrote reach the simulator and be answered, and the answer reach `porta`;
// at most two seconds each way. `scrittiPrima` and `ricevutiPrima`: what went each way through
// the simulator before `porta` was made.
void PassaAlSimulatore(SimulatorePty& sim, PortaSerialeQt& porta, qint64 scrittiPrima = 0,
                       qint64 ricevutiPrima = 0);

// The modem engine on the real serial layer, with the project's modem simulator on a
// pseudo-terminal linked as porte/COMn, on a fresh program folder whose operator in use is
// "TIM". Each tick first lets every byte written reach the other side and be answered, so the
// run is the same on a fast or a slow machine.
struct BancoMotorePty {
    CartellaDiProva cartella;
    SimulatorePty sim;
    std::unique_ptr<StatoGlobale> globale;
    ImpostazioniAttivita impostazioni;
    std::unique_ptr<PortaSerialeQt> porta;
    DialogoRegistrato dialogo;
    std::unique_ptr<MotoreGsm> motore;
    QStringList statiPorta; // every text the port label took, in order
    // What the engine stored, as it told it.
    QList<RicezioneSms::Risultato> registrati;
    int scansioniConcluse = 0;

    // `prepara` writes records before the settings are read.
    explicit BancoMotorePty(int com = 1, bool conDtr = false,
                            const std::function<void(Archivio&)>& prepara = {});

    StatoModem& s() { return motore->stato; }
    PannelloGsm& p() { return motore->pannello; }
    ModemSimulato& modem() { return sim.modem(); }

    // The program ends without warning and starts again on the same folder and modem.
    void riavviaProgramma();

    void tick(int n = 1);
    bool finche(const std::function<bool()>& condizione, int massimo = 3000);
    bool abilitato() const;
    // The search from COM1, as at the end of the splash.
    void accendi();
    // Until the SIM is usable; false when it never was.
    bool avviaFinoAdAbilitato();
    // Every command line the modem heard.
    QList<QByteArray> comandi();
    // Ticks until every message has left the SIM and the scan that took the last one ended.
    bool simSvuotata();

private:
    void creaMotore();

    qint64 scrittiPrima_ = 0;
    qint64 ricevutiPrima_ = 0;
};
