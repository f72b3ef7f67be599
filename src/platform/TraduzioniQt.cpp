#include "TraduzioniQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool TraduzioniQt::Installa(QCoreApplication& app) {
    const QLocale italiano(QLocale::Italian, QLocale::Italy);
    QLocale::setDefault(italiano);
    const QString cartella = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool tutte = true;
    for (const char* nome : {"qtbase", "qtmultimedia"}) {
        auto* traduttore = new QTranslator(&app);
        if (traduttore->load(italiano, QString::fromLatin1(nome), QStringLiteral("_"), cartella))
            QCoreApplication::installTranslator(traduttore);
        else {
            delete traduttore;
            tutte = false;
        }
    }
    return tutte;
}
