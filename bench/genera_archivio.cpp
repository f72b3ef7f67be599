// genera-archivio <cartella> --clienti N --in-attesa M --archiviati K [--seme S]

#include "Generatore.h"
#include "platform/ErroreRuntime.h"

#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    DatiDaGenerare dati;
    QString cartella;
    bool errato = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        const bool conValore = i + 1 < argc;
        if (a == QLatin1String("--clienti") && conValore)
            dati.clienti = QString::fromLocal8Bit(argv[++i]).toInt();
        else if (a == QLatin1String("--in-attesa") && conValore)
            dati.inAttesa = QString::fromLocal8Bit(argv[++i]).toInt();
        else if (a == QLatin1String("--archiviati") && conValore)
            dati.archiviati = QString::fromLocal8Bit(argv[++i]).toLongLong();
        else if (a == QLatin1String("--seme") && conValore)
            dati.seme = QString::fromLocal8Bit(argv[++i]).toUInt();
        else if (!a.startsWith(QLatin1String("--")) && cartella.isEmpty())
            cartella = a;
        else
            errato = true;
    }
    if (errato || cartella.isEmpty()) {
        std::fprintf(stderr, "uso: genera-archivio <cartella> --clienti N --in-attesa M "
                             "--archiviati K [--seme S]\n");
        return 2;
    }
    QElapsedTimer t;
    t.start();
    try {
        GeneraArchivio(cartella, dati);
    } catch (const ErroreRuntime& e) {
        std::fprintf(stderr, "genera-archivio: %s\n", e.what());
        return 1;
    }
    std::printf("genera-archivio: %d clienti, %d in attesa, %lld archiviati in %.1f s\n",
                dati.clienti, dati.inAttesa, static_cast<long long>(dati.archiviati),
                double(t.elapsed()) / 1000.0);
    return 0;
}
