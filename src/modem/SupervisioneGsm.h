#pragma once

#include <QDateTime>

#include "SequenzaAt.h"
#include "TabellaComandi.h"

#include <functional>

struct ContestoModem;
class RispostaAt;
class GestionePin;
class ScansioneSim;
class CodificaModem;

// The supervision cycle: the DTR power pulse, the delay before the first "AT", the start-up
// chain (test, echo off, revision, text mode, verbose errors), registration and signal polled
// every ten seconds, the automatic re-power after three unanswered polls, the search and the
// power-off.
class SupervisioneGsm {
public:
    SupervisioneGsm(ContestoModem& contesto, GestionePin& pin, ScansioneSim& scansione,
                    CodificaModem& codifica);

    // The power-off pulse has ended and the port is closed.
    std::function<void()> Spento;

    // The idle step of a tick (no reply awaited). False when the tick ends here: a power pulse
    // is running.
    bool PassoInattivo();
    // The poll, 100 idle ticks after the previous exchange, once the SIM is usable.
    void Polling();

    // "Trova Gsm": the search from COM1, also pressed by the automatic re-power.
    void TrovaGsm();
    // "Spegni Gsm": the power-off pulse, then the port is closed.
    void SpegniGsm();
    // DTR high for the power-off pulse; the idle ticks end it and close the port.
    void AvviaSpegnimento();
    // "+CMTI:": a message has arrived; the scan starts at the next idle tick rather than at the
    // next poll.
    void MessaggioArrivato();
    // A line a modem sends when it starts again ("^BOOT", "+CFUN:", "Call Ready", "SMS Ready"):
    // a modem in use may have lost its settings, which are set again, at most once a minute:
    // some modems repeat "^BOOT" as a status line every few seconds.
    void SegnoDiRiavvio();
    // The diagnostic lists are shown: the model of the modem in use ("AT+CGMM") is asked once
    // and told at their head.
    void ChiediModello();

    // The revision's step of the start-up table.
    SequenzaAt<SupervisioneGsm>::Poi EsitoRevisione(const RispostaAt& r);

private:
    void invia(ComandoGsm tipo, void (SupervisioneGsm::*gestore)(const RispostaAt&));
    void avvio();
    void rispostaTest(const RispostaAt& r);
    void rispostaRegistrazione(const RispostaAt& r);
    void rispostaSegnale(const RispostaAt& r);
    void rispostaModello(const RispostaAt& r);

    ContestoModem& m_;
    GestionePin& pin_;
    ScansioneSim& scansione_;
    CodificaModem& codifica_;
    // The signal query failed: the next poll reads the next slot instead of the registration.
    bool pollLettura_ = false;
    bool scansioneRichiesta_ = false;
    QDateTime ultimoRipristinoDaSegno_;
};
