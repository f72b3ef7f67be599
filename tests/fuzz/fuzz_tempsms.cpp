// The campaign's queue file as any program or a damaged disk may have left it.
#include "campaigns/TempSms.h"
#include "platform/ErroreRuntime.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
    static QTemporaryDir cartella;
    static const TempSms coda(cartella.path());
    {
        QFile file(coda.Percorso());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            __builtin_trap();
        file.write(reinterpret_cast<const char*>(dati), qint64(n));
    }
    try {
        const TempSms::Contenuto c = coda.Leggi();
        for (const QString& codice : c.codici) {
            (void)TempSms::Lettera(codice);
            (void)TempSms::Chiave(codice);
        }
    } catch (const ErroreRuntime&) {
        // A file that cannot be read is reported, never read past.
    }
    return 0;
}
