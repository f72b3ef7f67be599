// crea-archivio [--se-manca | --aggiorna] <archivio.mdb>
// Makes the encrypted archive with every step of the schema. It never overwrites a file: without
// an option an existing file is an error; with --se-manca (as the build and the package use it)
// an existing file is left alone, and the program brings it up to date when it opens it; with
// --aggiorna an existing archive gets the steps it lacks, after a checked copy.

#include "archive/Archivio.h"
#include "archive/CreatoreArchivio.h"
#include "archive/SchemaArchivio.h"
#include "backup/CopiaAggiornamento.h"
#include "platform/ErroreRuntime.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

int Aggiorna(const QString& archivio) {
    const QFileInfo file(archivio);
    if (file.fileName() != Archivio::NomeFile()) {
        std::fprintf(stderr, "crea-archivio: l'archivio da aggiornare si chiama %s\n",
                     qPrintable(Archivio::NomeFile()));
        return 2;
    }
    Archivio a;
    a.copiaPrimaDiAggiornare = CopiaAggiornamento::Per(file.absolutePath());
    a.ApriArchivio(file.absolutePath());
    std::printf("crea-archivio: %s è alla versione %d\n",
                qPrintable(QDir::toNativeSeparators(archivio)), SchemaArchivio::Versione());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QStringList argomenti;
    bool seManca = false;
    bool aggiorna = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--se-manca"))
            seManca = true;
        else if (a == QLatin1String("--aggiorna"))
            aggiorna = true;
        else
            argomenti << a;
    }
    if (argomenti.size() != 1 || (seManca && aggiorna)) {
        std::fprintf(stderr, "uso: crea-archivio [--se-manca | --aggiorna] <archivio.mdb>\n");
        return 2;
    }
    const QString archivio = argomenti[0];

    try {
        if (aggiorna)
            return Aggiorna(archivio);
        if (seManca && QFileInfo::exists(archivio))
            return 0;
        QDir().mkpath(QFileInfo(archivio).absolutePath());
        CreatoreArchivio::Crea(archivio, Archivio::Password());
    } catch (const ErroreRuntime& e) {
        std::fprintf(stderr, "crea-archivio: %s\n", e.what());
        return 1;
    }
    std::printf("crea-archivio: creato %s\n", qPrintable(QDir::toNativeSeparators(archivio)));
    return 0;
}
