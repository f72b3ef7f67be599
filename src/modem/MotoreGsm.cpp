#include "MotoreGsm.h"

#include "DialogoUtente.h"
#include "archive/StatoGlobale.h"
#include "platform/PortaSeriale.h"

MotoreGsm::MotoreGsm(StatoGlobale& globale, const ImpostazioniAttivita& impostazioni,
                     PortaSeriale& porta, DialogoUtente& utente, QObject* parent)
    : QObject(parent)
    , globale(globale)
    , porta(porta)
    , utente(utente)
    , contesto{globale, impostazioni, porta, utente, stato, pannello, canale, avvisi, orologio}
    , canale(contesto)
    , pin(contesto)
    , codifica(contesto, pin)
    , scansione(contesto, codifica)
    , supervisione(contesto, pin, scansione, codifica)
    , invio(contesto, codifica)
    , credito(contesto, codifica) {
    canale.Inviato = [this] { emit ComandoInviato(); };
    canale.Interpretato = [this] { emit RispostaInterpretata(); };
    scansione.Registrato = [this](const QString& numero, const RicezioneSms::Risultato& esito) {
        emit SmsRegistrato(numero, esito);
    };
    scansione.Conclusa = [this] { emit ScansioneConclusa(); };
    supervisione.Spento = [this] { emit ModemSpento(); };
    invio.Terminato = [this] { emit InvioTerminato(); };

    // What the modem says of its own accord.
    canale.RegistraNonRichiesta(QStringLiteral("+CMTI:"),
                                [this](const QString&) { supervisione.MessaggioArrivato(); });
    // A call is never answered: the shop takes its orders by SMS.
    canale.RegistraNonRichiesta(QStringLiteral("RING"), [](const QString&) {});
    for (const char* riavvio : {"^BOOT", "+CFUN:", "Call Ready", "SMS Ready"})
        canale.RegistraNonRichiesta(QString::fromLatin1(riavvio),
                                    [this](const QString&) { supervisione.SegnoDiRiavvio(); });
    canale.RegistraNonRichiesta(
        QStringLiteral("+CUSD:"), [this](const QString& riga) { credito.UssdTardivo(riga); },
        false);
}

MotoreGsm::~MotoreGsm() = default;

bool MotoreGsm::PassoModem() {
    if (stato.TickAttesa == 0) {
        canale.Ascolta();
        const bool prosegui = supervisione.PassoInattivo();
        if (prosegui)
            credito.PassoServizi();
        MostraAvvisi();
        return prosegui;
    }
    canale.Raccogli();
    MostraAvvisi();
    return true;
}

void MotoreGsm::Polling() {
    supervisione.Polling();
    MostraAvvisi();
}

void MotoreGsm::MostraAvvisi() {
    avvisi.Mostra(utente, canale);
}

void MotoreGsm::ChiudiSenzaSpegnere() {
    if (!porta.PortOpen())
        return;
    stato.SpegnimentoRichiesto = false;
    porta.setDTREnable(false);
    porta.setPortOpen(false);
}

void MotoreGsm::AvviaSpegnimento() {
    supervisione.AvviaSpegnimento();
}
