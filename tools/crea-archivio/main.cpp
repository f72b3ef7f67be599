// crea-archivio [--se-manca] <schema.sql> <archivio.mdb>
// Makes the encrypted archive from the schema. It never overwrites a file: without --se-manca
// an existing file is an error; with it (as the build uses it) an existing file is left alone.

#include "archive/Archivio.h"
#include "archive/CreatoreArchivio.h"
#include "platform/ErroreRuntime.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    QStringList argomenti;
    bool seManca = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--se-manca"))
            seManca = true;
        else
            argomenti << a;
    }
    if (argomenti.size() != 2) {
        std::fprintf(stderr, "uso: crea-archivio [--se-manca] <schema.sql> <archivio.mdb>\n");
        return 2;
    }
    const QString schema = argomenti[0];
    const QString archivio = argomenti[1];

    if (seManca && QFileInfo::exists(archivio))
        return 0;
    QDir().mkpath(QFileInfo(archivio).absolutePath());
    try {
        CreatoreArchivio::Crea(archivio, schema, Archivio::Password());
    } catch (const ErroreRuntime& e) {
        std::fprintf(stderr, "crea-archivio: %s\n", e.what());
        return 1;
    }
    std::printf("crea-archivio: creato %s\n", qPrintable(QDir::toNativeSeparators(archivio)));
    return 0;
}
