#include "Avvio.h"

#include "FormMain.h"
#include "archive/StatoGlobale.h"
#include "backup/BackupAutomatico.h"
#include "backup/CopiaArchivio.h"
#include "backup/VerificaCopia.h"
#include "platform/ErroreRuntime.h"
#include "platform/PortaSerialeQt.h"
#include "platform/TraduzioniQt.h"

#include <QApplication>
#include <QDateTime>
#include <cstdio>
#include <thread>

namespace {

void Scrivi(FILE* canale, const QString& testo) {
    std::fputs(testo.toLocal8Bit().constData(), canale);
    std::fputc('\n', canale);
}

// "--backup FOLDER" and "--verifica FILE", for a system timer: one line of outcome, exit 0 when
// all went well. -1 when the command line asks for neither.
int RigaDiComando(int argc, char** argv) {
    if (argc < 2)
        return -1;
    const QString opzione = QString::fromLocal8Bit(argv[1]);
    if (opzione != QStringLiteral("--backup") && opzione != QStringLiteral("--verifica"))
        return -1;
    if (argc != 3) {
        Scrivi(stderr,
               QStringLiteral("Uso: veltrika --backup CARTELLA oppure veltrika --verifica FILE"));
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString argomento = QString::fromLocal8Bit(argv[2]);
    if (opzione == QStringLiteral("--verifica")) {
        const VerificaCopia::Esito esito = VerificaCopia::Verifica(argomento);
        if (!esito.valida) {
            Scrivi(stderr, esito.messaggio);
            return 1;
        }
        Scrivi(stdout,
               QStringLiteral("Copia valida: %1.").arg(VerificaCopia::Riassunto(esito.righe)));
        return 0;
    }
    StatoGlobale stato(QCoreApplication::applicationDirPath());
    try {
        stato.archivio.ApriArchivio(stato.cartellaProgramma);
    } catch (const ErroreRuntime& e) {
        Scrivi(stderr, QStringLiteral("Impossibile aprire l'archivio: %1").arg(e.Description()));
        return 1;
    }
    CopiaArchivio copia(stato.archivio, {argomento}, QDateTime::currentDateTime());
    // Short steps with pauses between, as in the program: a program open meanwhile is never
    // kept waiting for the archive.
    while (!copia.Passo(std::chrono::milliseconds(BackupAutomatico::PassoMs)))
        std::this_thread::sleep_for(
            std::chrono::milliseconds(BackupAutomatico::PausaMs - BackupAutomatico::PassoMs));
    const CopiaArchivio::EsitoCartella& esito = copia.Esiti().constFirst();
    Scrivi(esito.riuscita ? stdout : stderr, esito.messaggio);
    return esito.riuscita ? 0 : 1;
}

} // namespace

int Avvio::Esegui(int argc, char** argv) {
    if (const int esito = RigaDiComando(argc, argv); esito >= 0)
        return esito;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELTRIKA"));
    QApplication::setApplicationVersion(StatoGlobale::Versione());
    TraduzioniQt::Installa(app);
    QApplication::setQuitOnLastWindowClosed(false);

    StatoGlobale stato(QApplication::applicationDirPath());
    FormMain formMain(stato, std::make_unique<PortaSerialeQt>(stato.cartellaProgramma),
                      std::make_unique<PortaSerialeQt>(stato.cartellaProgramma));
    QObject::connect(&formMain, &FormMain::Terminata, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    if (!formMain.Avvia())
        return 1;
    return app.exec();
}
