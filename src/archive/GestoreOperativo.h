#pragma once

#include <QDate>
#include <QString>

class Archivio;

// The mobile operator in use, the last DatiGestoreSim record marked Operativo, as the program
// acts on it: how its credit is asked and answered, and the credit last read. Every write of
// that record's credit goes through here, whether the credit came by USSD or by SMS.
class GestoreOperativo {
public:
    // Reads the operator in use again; false, with every field empty or 0, when none is.
    bool Leggi(Archivio& archivio);

    // The credit the operator told: kept here, and stored in the record of the operator in use
    // (by its IDGestore), with `oggi` as the top-up date when it grew. Throws ErroreRuntime when
    // the archive cannot be written.
    void RegistraCredito(Archivio& archivio, const QString& credito, const QDate& oggi);

    qint64 id = 0; // IDGestore; 0 when no operator is in use
    QString nome;
    QString numeroCredito;
    QString testoCredito;
    int modalita = 0; // ModalitaCre: none, SMS, USSD, call
    int risposta = 0; // ModRispCredito: 1 when the credit comes back by SMS
    QString credito;
};
