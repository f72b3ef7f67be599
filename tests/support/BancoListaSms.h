#pragma once

#include "CartellaDiProva.h"
#include "PortaSerialeMemoria.h"
#include "app/FormMain.h"
#include "archive/StatoGlobale.h"

#include <memory>

// A main window over a fresh archive, open, with in-memory ports for the modem and the 80-column
// printer; no timer runs.
struct BancoListaSms {
    CartellaDiProva cartella;
    StatoGlobale stato{cartella.percorso()};
    PortaSerialeMemoria* stampante = nullptr;
    std::unique_ptr<Applicazione> applicazione;
    std::unique_ptr<FormMain> form;

    BancoListaSms();
    Archivio& a() { return stato.archivio; }
    // The window as it is once running: past the start-up, modem search over, user input on.
    void inEsercizio();
    // A pending message of today's test date, 07/12/26.
    void sms(const QString& numero, const QString& orario, const QString& testo,
             bool gestito = false);
};
