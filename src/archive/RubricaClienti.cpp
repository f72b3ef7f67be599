#include "RubricaClienti.h"

#include "Schema.h"
#include "archive/Archivio.h"

int RubricaClienti::Riempi(Archivio& archivio) {
    NomiClienti.clear();
    NumeriClienti.clear();
    primoIndice_.clear();
    Recordset& rs = archivio.ApriTabella(Tabella::Clienti);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        const QString numero = rs.Testo(Campo::T1Numero);
        NomiClienti.append(rs.Testo(Campo::T1Nome));
        NumeriClienti.append(numero);
        // Keep the first position only: the first equal number wins.
        if (!primoIndice_.contains(numero))
            primoIndice_.insert(numero, int(NumeriClienti.size()) - 1);
    }
    return Conteggio();
}

QString RubricaClienti::NomeDi(const QString& numero, bool* trovato) const {
    const auto it = primoIndice_.constFind(numero);
    if (trovato)
        *trovato = it != primoIndice_.constEnd();
    return it != primoIndice_.constEnd() ? NomiClienti.at(*it) : QString();
}
