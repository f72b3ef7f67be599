#pragma once

#include <QString>
#include <QVector>

class Archivio;

// One customer as the register holds it, every field as text.
struct ClienteRegistro {
    QString id; // T1IdCliente
    QString numero;
    QString nome;
    QString nascita; // DD/MM/YYYY or empty
    QString indirizzo;
    QString informazioni;
};

// The customers of Clienti in table order, as the register and the campaign list show them.
class ElencoClienti {
public:
    enum Vista { Tutti = 0, Attivi = 1, Disattivati = 2 };

    // All customers, the enabled ones or the disabled ones (opens Clienti as the current
    // recordset).
    static QVector<ClienteRegistro> Leggi(Archivio& archivio, Vista vista);
};
