// A received body under any first octet, coding scheme and <length>: the first three bytes are
// those (a third byte 255 means no length), the rest the body as the modem shows it.
#include "modem/CorpoSms.h"
#include "modem/InsiemeCaratteri.h"

#include <cstddef>
#include <cstdint>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    if (n < 3)
        return 0;
    const int fo = dati[0];
    const int dcs = dati[1];
    const std::optional<int> lunghezza =
        dati[2] == 255 ? std::nullopt : std::optional<int>(dati[2]);
    const QString corpo = QString::fromLatin1(reinterpret_cast<const char*>(dati + 3),
                                              qsizetype(n - 3));
    if (const auto d = CorpoSms::Decodifica(corpo, fo, dcs, lunghezza)) {
        if (d->concatenazione && (d->concatenazione->numero < 1 ||
                                  d->concatenazione->numero > d->concatenazione->parti))
            __builtin_trap();
    }
    if (const auto ottetti = CorpoSms::DaEsadecimale(corpo))
        if (CorpoSms::DaEsadecimale(CorpoSms::InEsadecimale(*ottetti)) != ottetti)
            __builtin_trap();
    (void)CorpoSms::Ucs2Esadecimale(corpo);
    (void)InsiemeCaratteri::DalModem(corpo, QStringLiteral("GSM"));
    (void)InsiemeCaratteri::DalModem(corpo, QStringLiteral("UCS2"));
    return 0;
}
