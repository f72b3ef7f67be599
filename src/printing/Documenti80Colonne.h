#pragma once

#include <QStringList>

class RecordsetInMemoria;

// The 80-column layouts: each document as the texts handed one by one to StampaRiga. The list
// documents start by moving to the first row of their list, so an empty list fails (3021) before
// any line, as the printer routines expect.
class Documenti80Colonne {
public:
    // The line printed between two rows of a list.
    static QString Separatore() { return QStringLiteral("-   --   ----  ------  ----   --   -"); }
    // The 36 hyphens that frame the business card.
    static QString Trattini() { return QString(36, QLatin1Char('-')); }

    static QStringList ListaClienti(RecordsetInMemoria& lista);
    static QStringList ListaClientiRidotta(RecordsetInMemoria& lista);
    // One customer's messages when `nome` is not empty, every customer's otherwise.
    static QStringList ListaSms(RecordsetInMemoria& lista, const QString& nome,
                                const QString& numero);
    static QStringList Sms(const QString& numero, const QString& nome, const QString& data,
                           const QString& ora, const QString& testo);
    static QStringList SingoloCliente(const QString& id, const QString& numero, const QString& nome,
                                      const QString& nascita, const QString& indirizzo,
                                      const QString& informazioni);
    static QStringList Volantino(const QString& nomeAttivita, const QString& contatto,
                                 const QString& telefonoGsm, const QString& telefonoAttivita,
                                 const QString& indirizzo, const QString& informazioni);
};
