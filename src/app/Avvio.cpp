#include "Avvio.h"

#include "Applicazione.h"
#include "ChiusuraDiSistema.h"
#include "FormMain.h"
#include "archive/StatoGlobale.h"
#include "backup/BackupAutomatico.h"
#include "backup/CopiaAggiornamento.h"
#include "backup/CopiaArchivio.h"
#include "backup/RipristinoArchivio.h"
#include "backup/VerificaCopia.h"
#include "platform/ErroreRuntime.h"
#include "platform/IstanzaUnica.h"
#include "platform/MsgBox.h"
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

// "--ripristina COPY": the copy written into the archive of the program's folder, for when the
// program no longer starts. Refused while the program runs: it would go on with what it read.
int Ripristina(const QString& cartellaProgramma, const QString& copia) {
    const IstanzaUnica istanza(cartellaProgramma);
    if (!istanza.Acquisita()) {
        Scrivi(stderr, QStringLiteral("VELTRIKA è in esecuzione: chiuderlo prima del ripristino, "
                                      "oppure usare File → Ripristina Archivio… nel programma."));
        return 1;
    }
    const VerificaCopia::Esito esito = VerificaCopia::Verifica(copia);
    if (!esito.valida) {
        Scrivi(stderr, esito.messaggio + QStringLiteral("\nIl ripristino non è stato eseguito."));
        return 1;
    }
    QString accantonato;
    try {
        accantonato = RipristinoArchivio::RipristinaFile(cartellaProgramma, copia,
                                                         QDateTime::currentDateTime());
    } catch (const ErroreRuntime& e) {
        Scrivi(stderr, e.Description());
        return 1;
    }
    Scrivi(stdout, QStringLiteral("Archivio ripristinato dalla copia \"%1\" (%2).")
                       .arg(copia, VerificaCopia::Riassunto(esito.righe)));
    if (!accantonato.isEmpty())
        Scrivi(stdout,
               QStringLiteral("L'archivio sostituito è conservato in \"%1\".").arg(accantonato));
    return 0;
}

// "--backup FOLDER", "--verifica FILE" and "--ripristina COPY", for a system timer or a
// terminal: one line of outcome, exit 0 when all went well. -1 when the command line asks for
// none of them.
int RigaDiComando(int argc, char** argv) {
    if (argc < 2)
        return -1;
    const QString opzione = QString::fromLocal8Bit(argv[1]);
    if (opzione != QStringLiteral("--backup") && opzione != QStringLiteral("--verifica") &&
        opzione != QStringLiteral("--ripristina"))
        return -1;
    if (argc != 3) {
        Scrivi(stderr, QStringLiteral("Uso: veltrika --backup CARTELLA, veltrika --verifica FILE "
                                      "oppure veltrika --ripristina COPIA"));
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
    if (opzione == QStringLiteral("--ripristina"))
        return Ripristina(QCoreApplication::applicationDirPath(), argomento);
    StatoGlobale stato(QCoreApplication::applicationDirPath());
    stato.archivio.copiaPrimaDiAggiornare = CopiaAggiornamento::Per(stato.cartellaProgramma);
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
    stato.archivio.copiaPrimaDiAggiornare = CopiaAggiornamento::Per(stato.cartellaProgramma);
    // A second start on the same folder opens neither the archive nor the modem.
    const IstanzaUnica istanza(stato.cartellaProgramma);
    if (!istanza.Acquisita()) {
        Scrivi(stderr, QStringLiteral("VELTRIKA è già in esecuzione."));
        MsgBox(QStringLiteral("VELTRIKA è già in esecuzione."), Stile::Esclamazione);
        return 1;
    }
    Applicazione applicazione(stato, std::make_unique<PortaSerialeQt>(stato.cartellaProgramma),
                              std::make_unique<PortaSerialeQt>(stato.cartellaProgramma));
    FormMain formMain(applicazione);
    QObject::connect(&formMain, &FormMain::Terminata, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    ChiusuraDiSistema sistema;
    QObject::connect(&sistema, &ChiusuraDiSistema::Richiesta, &formMain,
                     &FormMain::ChiusuraDiSistema);
    if (!formMain.Avvia())
        return 1;
    return app.exec();
}
