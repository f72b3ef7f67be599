#pragma once

#include <QString>

// One row of the pending list: the sender's number as row text, then name, date, time, text.
struct RigaListaSms {
    QString numero;
    QString nome;
    QString data;
    QString orario;
    QString testo;
    bool gestito = false;
};
