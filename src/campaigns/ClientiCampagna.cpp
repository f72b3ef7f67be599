#include "ClientiCampagna.h"

#include "archive/Archivio.h"
#include "archive/Schema.h"
#include "platform/Testo.h"

QVector<ClienteCampagna> ClientiCampagna::Leggi(Archivio& archivio, Vista vista) {
    QVector<ClienteCampagna> clienti;
    Recordset& rs = archivio.ApriTabella(Tabella::Clienti);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        const bool eliminato = rs.Booleano(Campo::T1Eliminato);
        if ((vista == Attivi && eliminato) || (vista == Disattivati && !eliminato))
            continue;
        clienti.append({rs.Testo(Campo::T1IdCliente), rs.Testo(Campo::T1Numero),
                        rs.Testo(Campo::T1Nome), rs.Testo(Campo::T1Nascita),
                        rs.Testo(Campo::T1Indirizzo), rs.Testo(Campo::T1Informazioni)});
    }
    return clienti;
}

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

bool FiltroClienti::Corrisponde(const ClienteCampagna& c) const {
    // A customer without a birth date has no month to match.
    return c.nome.startsWith(nome, Qt::CaseInsensitive) &&
           c.indirizzo.startsWith(indirizzo, Qt::CaseInsensitive) &&
           (!conMese || Testo::Mid(c.nascita, 4, 2) == mese);
}
