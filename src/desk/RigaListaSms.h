#pragma once

#include <QString>

// One row of a message list: the sender's number as row text, then name, date, time, text; and
// what the row stands for, which is what code acts on after a dialog: the record's rowid in its
// table, whether the sender is in the register, whether the message was taken in hand.
struct RigaListaSms {
    QString numero;
    QString nome;
    QString data;
    QString orario;
    QString testo;
    bool gestito = false;
    qint64 id = 0; // 0: not (yet) tied to a record
    bool clienteNoto = false;
};
