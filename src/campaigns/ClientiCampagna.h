#pragma once

#include <QString>
#include <QVector>

class Archivio;

// One row of the campaign list: a customer as the register holds it.
struct ClienteCampagna {
    QString id; // T1IdCliente as text: the row's own text and the key of its queue code
    QString numero;
    QString nome;
    QString nascita; // DD/MM/YYYY or empty
    QString indirizzo;
    QString informazioni;
};

// The statuses of a campaign row, as the "Stato" column shows them.
namespace StatoInvio {
inline const QString Selezionato = QStringLiteral("Selezionato");
inline const QString InCorso = QStringLiteral("Invio in Corso");
inline const QString Inviato = QStringLiteral("Sms Inviato");
inline const QString Errore = QStringLiteral("Errore Invio");
} // namespace StatoInvio

class ClientiCampagna {
public:
    enum Vista { Tutti = 0, Attivi = 1, Disattivati = 2 };

    // The customers of Clienti in table order: all, the enabled ones or the disabled ones.
    static QVector<ClienteCampagna> Leggi(Archivio& archivio, Vista vista);

    // The month filter as typed: true with a usable month, whose two characters go to
    // `meseFiltro`; a value outside 1..12 empties `meseFiltro`, a text that is no number leaves
    // it as it was.
    static bool controlloMese(const QString& testo, QString& meseFiltro);
};

// The filters that highlight customers: name and address as prefixes of their fields, without
// regard to case, and the month of birth.
struct FiltroClienti {
    QString nome;
    QString indirizzo;
    bool conMese = false;
    QString mese;

    bool Attivo() const { return !nome.isEmpty() || !indirizzo.isEmpty() || conMese; }
    bool Corrisponde(const ClienteCampagna& c) const;
};
