#include "ChiaveData.h"

#include "platform/Testo.h"

#include <algorithm>

int ChiaveData::DiData(const QString& data) {
    const auto parte = [&](int inizio) { return Testo::Val(Testo::Mid(data, inizio, 2)); };
    return Da(parte(1), parte(4), parte(7));
}

int ChiaveData::DiData(const char* byte, int lunghezza) {
    const auto cifra = [&](int i) { return byte[i] >= '0' && byte[i] <= '9'; };
    if (lunghezza == 8 && cifra(0) && cifra(1) && cifra(3) && cifra(4) && cifra(6) && cifra(7)) {
        const auto numero = [&](int i) { return (byte[i] - '0') * 10 + (byte[i + 1] - '0'); };
        return numero(0) + 31 * numero(3) + 961 * numero(6);
    }
    return DiData(QString::fromUtf8(byte, lunghezza));
}

int ChiaveData::Da(double giorno, double mese, double anno) {
    // A pasted exponent ("9e9") must not overflow the key: such a date is simply far away.
    const double chiave = std::clamp(giorno + 31 * mese + 961 * anno, -1e9, 1e9);
    return int(Testo::Arrotonda(chiave));
}
