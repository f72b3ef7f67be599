#include "ChiusuraProgramma.h"

#include "backup/BackupAutomatico.h"
#include "modem/MotoreGsm.h"
#include "platform/MsgBox.h"

#include <QScopeGuard>

ChiusuraProgramma::ChiusuraProgramma(MotoreGsm& motore, BackupAutomatico& backup,
                                     std::function<int()> smsDaGestire, QWidget* finestra)
    : motore_(motore)
    , backup_(backup)
    , smsDaGestire_(std::move(smsDaGestire))
    , finestra_(finestra) {
    connect(&motore_, &MotoreGsm::ModemSpento, this, [this] {
        if (motore_.stato.ChiusuraRichiesta)
            concludi();
    });
}

std::optional<ChiusuraProgramma::Scelta> ChiusuraProgramma::Richiedi() {
    StatoModem& s = motore_.stato;
    if (conclusa_ || s.ChiusuraRichiesta || s.AperturaInCorso || domanda_) {
        if (s.AperturaInCorso && !conclusa_)
            MsgBox(QStringLiteral(" Impossibbile Chiudere il Programma. Attendere il "
                                  "completamento dell'Apertura "),
                   Stile::SoloOk, QString(), finestra_);
        return std::nullopt;
    }
    // Until the user has answered the engine goes on as ever: the replies that come meanwhile
    // are handled, so an answer "No" finds the modem where it should be.
    domanda_ = true;
    const auto risposto = qScopeGuard([this] { domanda_ = false; });
    const Scelta scelta = conferma();
    ultima_ = scelta;
    if (scelta == Scelta::Chiudi) {
        s.ChiusuraRichiesta = true;
        avviata_ = true;
        // With the modem being switched off, the copy waits for ModemSpento.
        if (!s.SpegnimentoRichiesto)
            concludi();
    }
    return scelta;
}

ChiusuraProgramma::Scelta ChiusuraProgramma::conferma() {
    StatoModem& s = motore_.stato;
    if (smsDaGestire_() > 0 &&
        MsgBox(QStringLiteral("ATTENZIONE !!!! Ci sono ancora SMS da gestire \n"
                              "Sicuro di voler chiudere l'applicazione?\n"),
               Stile::SiNo + Stile::Esclamazione, QStringLiteral("Chiusura Applicazione"),
               finestra_) == Risposta::No)
        return Scelta::Resta;
    if (!s.GsmAbilitato) {
        motore_.ChiudiSenzaSpegnere();
        return Scelta::Chiudi;
    }
    if (s.InAttesaRisposta &&
        MsgBox(QStringLiteral("Modulo GSM in esecuzione: la chiusura del programma "
                              "comporterà ad un interruzione forzata dell'operazione.\n"
                              "Voler procedere?"),
               Stile::SiNo + Stile::Esclamazione, QStringLiteral("Conferma Chiusura"),
               finestra_) != Risposta::Si)
        return Scelta::Resta;
    motore_.AvviaSpegnimento();
    s.ChiusuraRichiesta = true;
    emit SpegnimentoAvviato();
    return Scelta::Chiudi;
}

void ChiusuraProgramma::DiSistema() {
    if (conclusa_)
        return;
    diSistema_ = true;
    avviata_ = true;
    concludi();
}

void ChiusuraProgramma::concludi() {
    if (conclusa_)
        return;
    conclusa_ = true;
    // The copy of the closing holds everything received until now; a failure is told before
    // the program ends.
    backup_.CopiaDiChiusura();
    emit Terminata();
}
