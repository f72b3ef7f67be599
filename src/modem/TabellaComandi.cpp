#include "TabellaComandi.h"

std::optional<ComandoGsm> TabellaComandi::Comando(int tipoComando, int indiceSim, bool faseTesto) {
    const auto fissa = [](const char* riga, int timeout) {
        return ComandoGsm{QString::fromLatin1(riga), timeout, false};
    };
    const auto delChiamante = [](int timeout) { return ComandoGsm{QString(), timeout, true}; };
    switch (tipoComando) {
    case 0:
        return fissa("AT", 10);
    case 1:
        return fissa("ATE0", 10);
    case 2:
        return fissa("AT+CGMR", 10);
    case 3:
        return fissa("AT+CMGF=1", 10);
    case 4:
        return fissa("AT+CMEE=2", 10);
    case 5:
        return fissa("AT+CREG?", 10);
    case 6:
        return fissa("AT+CSQ", 10);
    case 7:
        return ComandoGsm{QStringLiteral("AT+CMGR=") + QString::number(indiceSim), 100, false};
    case 9:
        return ComandoGsm{QStringLiteral("AT+CMGD=") + QString::number(indiceSim), 10, false};
    case 11:
        return fissa("AT+CLCK?", 100);
    case 14:
        return fissa("AT+CPBR=1", 100);
    case 8:
    case 15:
        // A text can take the network a long while: three minutes.
        return delChiamante(faseTesto ? 1800 : 100);
    case 10:
    case 12:
    case 13:
        return delChiamante(100);
    default:
        return std::nullopt;
    }
}
