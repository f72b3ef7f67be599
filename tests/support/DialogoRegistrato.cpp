#include "DialogoRegistrato.h"

int DialogoRegistrato::Messaggio(const QString& testo, int stile, const QString& titolo) {
    mostrati.append({testo, stile, titolo});
    if (mentreAperto)
        mentreAperto();
    return risposte.isEmpty() ? RispostaPredefinita(stile) : risposte.takeFirst();
}

void DialogoRegistrato::Diagnostica(bool inviata, const QString& riga) {
    (inviata ? inviate : ricevute).append(riga);
}

QStringList DialogoRegistrato::testi() const {
    QStringList t;
    for (const Avviso& a : mostrati)
        t.append(a.testo);
    return t;
}
