#pragma once

#include <QString>

// The birth date of the register's editor, from its three boxes (day, month, year).
class ControlloNascita {
public:
    struct Esito {
        bool valida = false;
        QString data; // "DD/MM/YYYY", or empty
    };

    // Day 1-31 and month 1-12 by value, whatever the month (31/02 passes); the year must not
    // sort after `annoCorrente` as text ("999" does, "0" does not). A box that is not a number
    // fails its own step. Day and month below 10 get a leading zero. Three empty boxes are a
    // valid, empty date: a customer may have none.
    static Esito Controlla(const QString& giorno, const QString& mese, const QString& anno,
                           const QString& annoCorrente);
};
