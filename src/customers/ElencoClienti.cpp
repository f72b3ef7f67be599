#include "ElencoClienti.h"

#include "archive/Archivio.h"
#include "archive/Schema.h"

QVector<ClienteRegistro> ElencoClienti::Leggi(Archivio& archivio, Vista vista) {
    QVector<ClienteRegistro> clienti;
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
