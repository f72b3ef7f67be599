#include "RicevitoreStampante.h"

#include "platform/CodicePagina1252.h"

QList<RicevitoreStampante::Evento> RicevitoreStampante::ricevi(const QByteArray& byte) {
    QList<Evento> eventi;
    for (const char c : byte) {
        switch (stato_) {
        case Stato::InRiga:
            if (c == '"') {
                stato_ = Stato::DopoRiga;
            } else {
                riga_.append(c);
                if (riga_.size() >= kMassimoRiga)
                    chiudiRiga(eventi);
            }
            continue;
        case Stato::DopoRiga:
            stato_ = Stato::Fuori;
            chiudiRiga(eventi);
            if (c == '@')
                continue;
            break; // a line not followed by "@" is printed all the same
        case Stato::DopoJ:
            stato_ = Stato::Fuori;
            if (c == '@') {
                aperto_ = true;
                eventi.append({Evento::Tipo::Inizio, {}});
                continue;
            }
            ++ignorati_; // the "j", then the byte itself is read as outside a line
            break;
        case Stato::Fuori:
            break;
        }
        // Outside a line.
        if (c == '"')
            stato_ = Stato::InRiga;
        else if (c == 'j')
            stato_ = Stato::DopoJ;
        else if (c == 'J') {
            aperto_ = false;
            eventi.append({Evento::Tipo::Fine, {}});
        } else
            ++ignorati_;
    }
    return eventi;
}

void RicevitoreStampante::chiudiRiga(QList<Evento>& eventi) {
    eventi.append({Evento::Tipo::Riga, CodicePagina1252::Decodifica(riga_)});
    riga_.clear();
}
