// The program's date readers over any text: the stored dd/MM/yy key (as text and as bytes), the
// operator window's top-up date, the browser's range boxes and the register's birth date. The
// input is split at "|" into the pieces each reader takes.
#include "archive/ChiaveData.h"
#include "browser/IntervalloDate.h"
#include "customers/ControlloNascita.h"
#include "settings/DividiData.h"

#include <QDate>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    const char* byte = reinterpret_cast<const char*>(dati);
    (void)ChiaveData::DiData(byte, int(n));
    const QString testo = QString::fromUtf8(byte, qsizetype(n));
    (void)ChiaveData::DiData(testo);

    const QDate oggi(2026, 12, 10);
    const DividiData::Parti parti = DividiData::Dividi(testo);
    (void)DividiData::Unisci(DividiData::Normalizza(parti, oggi));

    const QStringList p = testo.split(QLatin1Char('|'));
    CaselleData da{p.value(0), p.value(1), p.value(2)};
    CaselleData a{p.value(3), p.value(4), p.value(5)};
    IntervalloDate::Normalizza(da, a, oggi);
    (void)IntervalloDate::Chiave(da);
    (void)IntervalloDate::Chiave(a);
    (void)ControlloNascita::Controlla(p.value(0), p.value(1), p.value(2), p.value(3));
    return 0;
}
