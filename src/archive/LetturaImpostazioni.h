#pragma once

struct StatoGlobale;

// Reads the settings record and the operator in use into the shared state.
class LetturaImpostazioni {
public:
    // StampaAutomatica and AccensioneDtr from Impostazioni.
    static void LeggiInterruttori(StatoGlobale& stato);
    // The operator settings of the last record with Operativo true; false when none has it
    // (the globals are then empty or 0).
    static bool LeggiGestoreOperativo(StatoGlobale& stato);
    // Stampa80Colonne and PortaStampa80 from Impostazioni.
    static void LeggiStampante(StatoGlobale& stato);
};
