#pragma once

#include "customers/ElencoClienti.h"

#include <QString>

// Where a row of the campaign stands.
enum class StatoRiga { Nessuno, Selezionato, InCorso, Inviato, Errore, Incerto };

// The statuses of a campaign row, as the "Stato" column shows them.
namespace StatoInvio {
inline const QString Selezionato = QStringLiteral("Selezionato");
inline const QString InCorso = QStringLiteral("Invio in Corso");
inline const QString Inviato = QStringLiteral("Sms Inviato");
inline const QString Errore = QStringLiteral("Errore Invio");
// The text went out and no answer came: the SMS may have left.
inline const QString Incerto = QStringLiteral("Esito Incerto");

inline QString Testo(StatoRiga stato) {
    switch (stato) {
    case StatoRiga::Nessuno:
        return QString();
    case StatoRiga::Selezionato:
        return Selezionato;
    case StatoRiga::InCorso:
        return InCorso;
    case StatoRiga::Inviato:
        return Inviato;
    case StatoRiga::Errore:
        return Errore;
    case StatoRiga::Incerto:
        return Incerto;
    }
    return QString();
}
} // namespace StatoInvio

class ClientiCampagna {
public:
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
    bool Corrisponde(const ClienteRegistro& c) const;
};
