#pragma once

#include "ImpostazioniAttivita.h"

class Archivio;

// Reads the settings the program acts on from the settings record; the operator in use is read
// by GestoreOperativo::Leggi.
class LetturaImpostazioni {
public:
    // The switches and the 80-column printer's port from Impostazioni; the defaults when the
    // record is missing.
    static ImpostazioniAttivita Leggi(Archivio& archivio);
};
