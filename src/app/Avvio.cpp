#include "Avvio.h"

#include "FormMain.h"
#include "archive/StatoGlobale.h"
#include "platform/PortaSerialeQt.h"
#include "platform/TraduzioniQt.h"

#include <QApplication>

int Avvio::Esegui(int argc, char** argv) {
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
