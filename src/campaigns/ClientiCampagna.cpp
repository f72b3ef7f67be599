#include "ClientiCampagna.h"

#include "platform/Testo.h"

bool ClientiCampagna::controlloMese(const QString& testo, QString& meseFiltro) {
    if (!Testo::IsNumeric(testo))
        return false;
    const double valore = Testo::Val(testo);
    if (valore > 12 || valore < 1) {
        meseFiltro.clear();
        return false;
    }
    meseFiltro = valore < 10 ? QStringLiteral("0") + Testo::Right(testo, 1) : testo;
    return true;
}

bool FiltroClienti::Corrisponde(const ClienteRegistro& c) const {
    // A customer without a birth date has no month to match.
    return c.nome.startsWith(nome, Qt::CaseInsensitive) &&
           c.indirizzo.startsWith(indirizzo, Qt::CaseInsensitive) &&
           (!conMese || Testo::Mid(c.nascita, 4, 2) == mese);
}
