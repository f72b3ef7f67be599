#pragma once

#include "platform/StiliMessaggio.h"

#include <QString>

// What the modem engine needs from the person at the desk: a message box, answered with the
// classic answer codes, and the lines of the diagnostic lists while they are shown. The main
// window gives its own boxes; tests give a recorder.
class DialogoUtente {
public:
    virtual ~DialogoUtente() = default;

    // An empty title gives the program's name.
    virtual int Messaggio(const QString& testo, int stile = Stile::SoloOk,
                          const QString& titolo = QString()) = 0;
    // A command line written (`inviata`) or a reply framed.
    virtual void Diagnostica(bool inviata, const QString& riga) {
        Q_UNUSED(inviata);
        Q_UNUSED(riga);
    }
};
