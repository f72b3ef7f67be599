#pragma once

#include "GestoreOperativo.h"
#include "RubricaClienti.h"
#include "archive/Archivio.h"

#include <QDate>
#include <QString>
#include <functional>

// What every window works on: the archive, the customer register and the operator in use, each
// an object that alone writes what it holds. The settings the program acts on are the
// application's, the modem's state is the engine's own, and what one window tells another goes
// by signals and arguments. One object owned by the application and handed to the windows by
// reference, so each test starts from a fresh one.
struct StatoGlobale {
    explicit StatoGlobale(QString cartellaProgramma)
        : cartellaProgramma(std::move(cartellaProgramma)) {}

    // The title of the main window, also given to the program's own messages.
    static QString TitoloProgramma() { return QStringLiteral("VELTRIKA V ") + Versione(); }
    // The version of the build, from the project.
    static QString Versione() { return QStringLiteral(VELTRIKA_VERSIONE); }

    const QString cartellaProgramma;
    Archivio archivio;
    RubricaClienti rubrica; // NomiClienti / NumeriClienti

    // The operator in use.
    GestoreOperativo gestore;

    // Today, as the windows read it (date ranges, birth years, top-up dates); a test fixes it.
    std::function<QDate()> Oggi = [] { return QDate::currentDate(); };
};
