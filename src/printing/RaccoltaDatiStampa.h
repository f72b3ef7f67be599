#pragma once

#include "RecordsetInMemoria.h"

#include <QString>

class Archivio;
class RubricaClienti;

// The data the print routines gather from the archive, the same for both outputs.
class RaccoltaDatiStampa {
public:
    // Every enabled customer of Clienti, seven fields, each value cut to 30 characters and a
    // missing one written " ". Leaves Clienti as the current recordset. A register without any
    // customer is the no-current-record failure (3021).
    static RecordsetInMemoria ListaClienti(Archivio& archivio);

    // Id, number and name of the customers of one view: 2 the disabled ones, anything else the
    // enabled ones. Walks Clienti, which the register leaves open; 3021 when it holds no record.
    static RecordsetInMemoria ListaClientiRidotta(Archivio& archivio, int tipoLista);

    // The archived messages of one customer (`numero`) or of all (`numero` "Tutti"), from dataDa
    // to dataA inclusive (keys of ChiaveData); two keys of 0 mean every date. Refills the lookup
    // table; leaves SMS as the current recordset.
    static RecordsetInMemoria ListaSms(Archivio& archivio, RubricaClienti& rubrica,
                                       const QString& nome, const QString& numero, int dataDa,
                                       int dataA);

    // The column of the sender's name in a list of messages: the archive keeps the number only,
    // and the name comes from the register.
    static inline const QString T4Nome = QStringLiteral("T4Nome");

    static constexpr int LarghezzaClienti = 30;
    static constexpr int LarghezzaSms = 30000;
};
