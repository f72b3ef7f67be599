#include "TabellaComandi.h"

namespace {

// The commands whose line never changes.
struct RigaFissa {
    int tipo;
    const char* riga;
    int timeoutTick;
};

constexpr RigaFissa kRigheFisse[] = {
    {0, "AT", 10},        {1, "ATE0", 10},       {2, "AT+CGMR", 10},
    {3, "AT+CMGF=1", 10}, {4, "AT+CMEE=2", 10},  {5, "AT+CREG?", 10},
    {6, "AT+CSQ", 10},    {11, "AT+CLCK?", 100}, {14, "AT+CPBR=1", 100},
};

} // namespace

std::optional<ComandoGsm> TabellaComandi::Comando(int tipoComando, int indiceSim, bool faseTesto) {
    for (const RigaFissa& r : kRigheFisse)
        if (r.tipo == tipoComando)
            return ComandoGsm{QString::fromLatin1(r.riga), r.timeoutTick, false};
    switch (tipoComando) {
    case 7:
        return ComandoGsm{QStringLiteral("AT+CMGR=") + QString::number(indiceSim), 100, false};
    case 9:
        return ComandoGsm{QStringLiteral("AT+CMGD=") + QString::number(indiceSim), 10, false};
    case 8:
    case 15:
        // A text can take the network a long while: three minutes.
        return ComandoGsm{QString(), faseTesto ? 1800 : 100, true};
    case 10:
    case 12:
    case 13:
        return ComandoGsm{QString(), 100, true};
    default:
        return std::nullopt;
    }
}
