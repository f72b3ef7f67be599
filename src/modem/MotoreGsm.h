#pragma once

#include "AvvisiModem.h"
#include "CanaleGsm.h"
#include "CodificaModem.h"
#include "ContestoModem.h"
#include "CreditoGsm.h"
#include "GestionePin.h"
#include "InvioSmsGsm.h"
#include "PannelloGsm.h"
#include "RicezioneSms.h"
#include "ScansioneSim.h"
#include "StatoModem.h"
#include "SupervisioneGsm.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>

struct StatoGlobale;
struct ImpostazioniAttivita;
class PortaSeriale;
class DialogoUtente;

// The modem engine: the serial channel and its queue, the supervision cycle, the SIM scan, the
// PIN, the sending of SMS and the credit, over one port, with no widget. The main window calls
// its tick steps in order and draws `pannello`. The engine builds its parts and wires them: each
// part gets the context (channel, panel, notices) and the other parts it needs, never the
// engine.
class MotoreGsm : public QObject {
    Q_OBJECT
public:
    // `impostazioni` are the settings as the program acts on them now: whoever owns them keeps
    // them up to date.
    MotoreGsm(StatoGlobale& globale, const ImpostazioniAttivita& impostazioni, PortaSeriale& porta,
              DialogoUtente& utente, QObject* parent = nullptr);
    ~MotoreGsm() override;

    StatoGlobale& globale;
    PortaSeriale& porta;
    DialogoUtente& utente;
    StatoModem stato;
    PannelloGsm pannello;
    // The clock that dates a message whose time stamp could not be read.
    std::function<QDateTime()> orologio = [] { return QDateTime::currentDateTime(); };

    AvvisiModem avvisi;
    ContestoModem contesto;
    CanaleGsm canale;
    GestionePin pin;
    CodificaModem codifica;
    ScansioneSim scansione;
    SupervisioneGsm supervisione;
    InvioSmsGsm invio;
    CreditoGsm credito;

    // Step 2 or 3 of the main timer's tick: the idle work (power pulse, test delay) or the
    // collection of the awaited reply. False when the tick ends here.
    bool PassoModem();
    // Step 5: the poll every 100 idle ticks.
    void Polling();

    // Nothing on the line or queued, no scan and no credit request under way: the next poll
    // asks the registration.
    bool Inattivo() const {
        return !canale.Occupato() && stato.TickAttesa == 0 && !scansione.InCorso() &&
               !credito.InCorso();
    }

    // The modem search from `stato.PortaCom`.
    void Accendi_Gsm() { canale.Accendi_Gsm(); }

    // A notice of the engine is open (AvvisiModem): a window's timer sends nothing meanwhile.
    bool AvvisoAperto() const { return avvisi.Aperto(); }
    // Shows the notices the step left (each tick step ends with it).
    void MostraAvvisi();

    // The closing. With the modem not initialised: the port is closed at once, DTR low.
    void ChiudiSenzaSpegnere();
    // With the modem initialised: DTR high for the power-off pulse, then ModemSpento.
    void AvviaSpegnimento();

signals:
    // A command went to the port; a reply has been interpreted (the campaign window's send
    // button follows these).
    void ComandoInviato();
    void RispostaInterpretata();
    // A message read from the SIM was stored (new record, or a part joined to one, or a second
    // reading of one already stored).
    void SmsRegistrato(const QString& numero, const RicezioneSms::Risultato& esito);
    // A scan of the SIM slots has ended; polling resumes.
    void ScansioneConclusa();
    // The power-off pulse has ended and the port is closed.
    void ModemSpento();
    // An SMS asked through `invio` has its outcome (`invio.Fallito()`): the campaign window's
    // timer starts again on it.
    void InvioTerminato();
};
