#pragma once

#include <QString>
#include <QStringList>

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

    // The columns of a message list: "Telefono", "Cliente", "Data", "Orario", "Testo del SMS
    // Ricevuto"; and this row's text in column `colonna` (empty past the last).
    static const QStringList& Colonne() {
        // Built once: a view asks for the column count at every turn of its drawing.
        static const QStringList colonne{QStringLiteral("Telefono"), QStringLiteral("Cliente"),
                                         QStringLiteral("Data"), QStringLiteral("Orario"),
                                         QStringLiteral("Testo del SMS Ricevuto")};
        return colonne;
    }
    QString Cella(int colonna) const {
        switch (colonna) {
        case 0:
            return numero;
        case 1:
            return nome;
        case 2:
            return data;
        case 3:
            return orario;
        case 4:
            return testo;
        default:
            return {};
        }
    }
};
