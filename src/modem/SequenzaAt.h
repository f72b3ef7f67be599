#pragma once

#include "CanaleGsm.h"
#include "Comando.h"

#include <QString>
#include <cstddef>
#include <functional>
#include <span>

// A fixed sequence of modem commands, written as a const table of steps and run one step at a
// time through the channel. Each step says how its reply is taken: by default an "OK" goes on
// and an error stops the sequence unless the step is optional; a step with a reader decides
// itself (go on, skip the next step, end here, stop, or leave: the step took another way and
// the sequence ends without a word).
template <class Parte> class SequenzaAt {
public:
    enum class Poi { Avanti, SaltaUno, Fine, Ferma, Lascia };
    struct Passo {
        ComandoGsm tipo;
        // The line: the table's for the kind when both are unset.
        const char* riga = nullptr;
        QString (*componi)() = nullptr;
        bool facoltativo = false;
        Poi (Parte::*leggi)(const RispostaAt&) = nullptr;
    };
    // Told once at the end: true when the last step went through, false when one stopped it.
    using Fine = std::function<void(bool completata)>;

    static void Esegui(CanaleGsm& canale, Parte& parte, std::span<const Passo> passi, Fine fine,
                       std::size_t i = 0) {
        if (i >= passi.size()) {
            fine(true);
            return;
        }
        const Passo& p = passi[i];
        const int timeout = TabellaComandi::Riga(p.tipo).timeoutTick;
        const Comando c = p.componi ? Comando::Composto(p.tipo, p.componi(), timeout)
                          : p.riga ? Comando::Composto(p.tipo, QString::fromLatin1(p.riga), timeout)
                                   : Comando::DallaTabella(p.tipo);
        canale.Invia(c, [&canale, &parte, passi, fine, i](const RispostaAt& r) {
            const Passo& passo = passi[i];
            Poi poi = Poi::Avanti;
            if (passo.leggi)
                poi = (parte.*passo.leggi)(r);
            else if (!r.Ok() && !passo.facoltativo)
                poi = Poi::Ferma;
            switch (poi) {
            case Poi::Avanti:
                Esegui(canale, parte, passi, fine, i + 1);
                return;
            case Poi::SaltaUno:
                Esegui(canale, parte, passi, fine, i + 2);
                return;
            case Poi::Fine:
                fine(true);
                return;
            case Poi::Ferma:
                fine(false);
                return;
            case Poi::Lascia:
                return;
            }
        });
    }
};
