#pragma once

struct StatoGlobale;

// Reads the settings record into the settings the program acts on (StatoGlobale::impostazioni);
// the operator in use is read by GestoreOperativo::Leggi.
class LetturaImpostazioni {
public:
    // stampaAutomatica and accensioneDtr from Impostazioni.
    static void LeggiInterruttori(StatoGlobale& stato);
    // stampa80Colonne and portaStampa80 from Impostazioni.
    static void LeggiStampante(StatoGlobale& stato);
};
