#pragma once

#include "CapoPty.h"
#include "CartellaDiProva.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "platform/PortaSerialeQt.h"
#include "printing/ModulofnStampa.h"
#include "printing/StampanteCorrente.h"

#include <QByteArray>

// A program folder with its archive open and a pseudo-terminal standing as the printer on COM3,
// with the print routines over them; the 80-column printer is switched on at port 3 unless the
// case starts from the stored settings.
struct BancoStampa80 {
    CartellaDiProva cartella;
    CapoPty stampante;
    StatoGlobale stato{cartella.percorso()};
    ImpostazioniAttivita impostazioni;
    PortaSerialeQt MSComm2{cartella.percorso()};
    StampanteCorrente corrente{cartella.percorso()};
    ModulofnStampa modulo{stato, impostazioni, MSComm2, corrente};

    explicit BancoStampa80(bool ottantaColonne = true);
    // What the printer received up to the end of a document.
    QByteArray ricevuti() { return stampante.leggi(QByteArray("J")); }
};
