#pragma once

#include <QHash>
#include <QStringList>

class Archivio;

// The customer lookup table: the names and numbers of Clienti in table order (disabled customers
// included), refilled before each use. A number's name is that of the first customer with an
// equal number. Not capped: a register of any size gets every name right.
class RubricaClienti {
public:
    // What the desk shows, and the register prefills, as the name of a number no customer has.
    static QString NuovoCliente() { return QStringLiteral("Nuovo Cliente"); }

    // Refills from Clienti (opens it as the current recordset). Returns the number of customers.
    int Riempi(Archivio& archivio);

    int Conteggio() const { return int(NumeriClienti.size()); }
    // Name of the first customer whose number equals `numero` exactly; found = false when none.
    QString NomeDi(const QString& numero, bool* trovato = nullptr) const;

    // Position i (0-based) holds the i-th customer of the table.
    QStringList NomiClienti;
    QStringList NumeriClienti;

private:
    QHash<QString, int> primoIndice_;
};
