#pragma once

#include <QString>
#include <optional>

// The modem's command table: for each command index, the line written and the ticks after which
// a missing reply is given up.
struct ComandoGsm {
    QString riga; // empty where the caller prepares the line itself
    int timeoutTick = 10;
    bool preparatoDalChiamante = false;
};

class TabellaComandi {
public:
    // `indiceSim` is the SIM slot of the read (already advanced) and of the delete; `faseTesto`
    // is set while the text of an SMS is due. An index outside 0..15 has no row.
    static std::optional<ComandoGsm> Comando(int tipoComando, int indiceSim, bool faseTesto);
};
