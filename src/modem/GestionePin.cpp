#include "GestionePin.h"

#include "DialogoUtente.h"
#include "MotoreGsm.h"
#include "RisposteModem.h"
#include "archive/StatoGlobale.h"
#include "platform/PortaSeriale.h"

namespace {
const QString kTitolo = QStringLiteral("Abilitazione MODULO GSM");
} // namespace

GestionePin::GestionePin(MotoreGsm& motore)
    : m_(motore) {
    CanaleGsm& c = m_.canale;
    c.Registra(ComandoGsm::StatoSim, [this](const RispostaAt& r) { rispostaStatoSim(r); });
    c.Registra(ComandoGsm::InserimentoPin, [this](const RispostaAt& r) { rispostaPin(r); });
    c.Registra(ComandoGsm::BloccoPin, [this](const RispostaAt& r) { rispostaBloccoPin(r); });
}

void GestionePin::Ricomincia() {
    m_.pannello.statoPin = StatoPin::PrimoInserimento;
    m_.stato.TentativiPin = 0;
    Uso = UsoRiquadroPin::Ingresso;
}

void GestionePin::chiediCodice() {
    m_.utente.Messaggio(QStringLiteral("Inserire il CODICE PIN"), Stile::Critico,
                        QStringLiteral("Obligatorio Inserimento PIN"));
}

void GestionePin::rispostaStatoSim(const RispostaAt& r) {
    PannelloGsm& p = m_.pannello;
    switch (RisposteModem::StatoDellaSim(r.Testo())) {
    case RisposteModem::StatoSim::PukRichiesto:
        p.statoPin = StatoPin::PukRichiesto;
        m_.stato.TentativiPin = 3;
        m_.utente.Messaggio(
            QStringLiteral(" MODULO GMS bloccato.\nPer Sbloccare il GSM, inserire il Codice Puk "),
            Stile::Informazione, kTitolo);
        Uso = UsoRiquadroPin::Ingresso;
        p.riquadroPin = true;
        break;
    case RisposteModem::StatoSim::PinRichiesto:
        m_.utente.Messaggio(QStringLiteral(" Prego, inserire il Codice PIN "), Stile::Informazione,
                            kTitolo);
        Uso = UsoRiquadroPin::Ingresso;
        p.riquadroPin = true;
        break;
    case RisposteModem::StatoSim::SimAssente:
        m_.utente.Messaggio(
            QStringLiteral("ATTENZIONE !!! SIM NON Inserita.\n"
                           "Chiudere il Programma ed eseguire al procedura Inserimento SIM.\n\n"
                           "MODULO GSM Disabilitato modalita OFF-Line."),
            Stile::Critico, QStringLiteral("SIM non inserita"));
        // The power-off pulse of the next idle ticks switches the modem off.
        m_.stato.SpegnimentoRichiesto = true;
        m_.porta.setDTREnable(true);
        break;
    case RisposteModem::StatoSim::Pronta:
        m_.utente.Messaggio(QStringLiteral("MODULO GSM abilitato"), Stile::Informazione, kTitolo);
        p.richiestaPin = RichiestaPin::Disattiva;
        simPronta();
        break;
    }
}

// The SIM is usable: polling starts on the next idle tick.
void GestionePin::simPronta() {
    PannelloGsm& p = m_.pannello;
    m_.stato.TickPolling = 99;
    p.statoPin = StatoPin::Abilitato;
    p.riquadroPin = false;
    p.gestionePin = true;
    m_.stato.TipoComando = ComandoGsm::Registrazione;
}

void GestionePin::rispostaPin(const RispostaAt& r) {
    PannelloGsm& p = m_.pannello;
    const int tentativi = m_.stato.TentativiPin;
    if (r.Ok()) {
        m_.utente.Messaggio(QStringLiteral("Codice Pin valido. Gsm Abilitato"), Stile::Informazione,
                            kTitolo);
        p.codicePin.clear();
        p.richiestaPin = RichiestaPin::Attiva;
        simPronta();
        return;
    }
    if (tentativi > 2)
        m_.utente.Messaggio(QStringLiteral("MODULO GSM bloccato.\n"
                                           "Per sbloccare inserire Codice PUK seguito da virgola "
                                           "e PIN\nEsempio: 52719034,8316"),
                            Stile::Esclamazione, kTitolo);
    else
        m_.utente.Messaggio(QStringLiteral("Errore! Codice PIN non valido."), Stile::Esclamazione,
                            kTitolo);
    if (tentativi == 1)
        p.statoPin = StatoPin::SecondoInserimento;
    else if (tentativi == 2)
        p.statoPin = StatoPin::TerzoInserimento;
    else if (tentativi > 2)
        p.statoPin = StatoPin::InserirePuk;
    p.codicePin.clear();
}

void GestionePin::rispostaBloccoPin(const RispostaAt& r) {
    PannelloGsm& p = m_.pannello;
    m_.stato.TipoComando = ComandoGsm::Registrazione;
    // Refused: the caption stays and the frame stays open.
    if (!r.Ok())
        return;
    if (p.richiestaPin == RichiestaPin::Disattiva) {
        m_.utente.Messaggio(QStringLiteral("Codice Pin Abilitato"));
        p.richiestaPin = RichiestaPin::Attiva;
    } else {
        m_.utente.Messaggio(QStringLiteral("Codice Pin Disabilitato"));
        p.richiestaPin = RichiestaPin::Disattiva;
    }
    p.gestionePin = true;
    p.codicePin.clear();
    p.riquadroPin = false;
    Uso = UsoRiquadroPin::Ingresso;
}

void GestionePin::Ok() {
    PannelloGsm& p = m_.pannello;
    StatoModem& s = m_.stato;
    StatoGlobale& g = m_.globale;
    const QString codice = p.codicePin;
    // The frame was opened by the PIN button to switch the request the SIM is known to have.
    if (Uso == UsoRiquadroPin::Cambio && p.richiestaPin != RichiestaPin::NonNota) {
        const QChar modo =
            p.richiestaPin == RichiestaPin::Attiva ? QLatin1Char('0') : QLatin1Char('1');
        g.StringaGsm = QStringLiteral("AT+CLCK=\"SC\",") + modo + QStringLiteral(",\"") + codice +
                       QLatin1Char('"');
        m_.stato.TipoComando = ComandoGsm::BloccoPin;
        m_.canale.SetStringa_Gsm();
        return;
    }
    if (!codice.isEmpty() || s.TentativiPin <= 2) {
        ++s.TentativiPin;
        if (!codice.isEmpty()) {
            // Sent exactly as typed: for the PUK, the PUK, a comma and the new PIN.
            g.StringaGsm = QStringLiteral("AT+CPIN=") + codice;
            m_.stato.TipoComando = ComandoGsm::InserimentoPin;
            m_.canale.SetStringa_Gsm();
        } else {
            chiediCodice();
        }
        return;
    }
    m_.utente.Messaggio(QStringLiteral("Attivazione Modulo GSM Annullata. Modalità OFF-Line"));
    p.gestionePin = false;
}

void GestionePin::Esc() {
    PannelloGsm& p = m_.pannello;
    p.gestionePin = true;
    p.riquadroPin = false;
    p.codicePin.clear();
    Uso = UsoRiquadroPin::Ingresso;
}

void GestionePin::Pulsante() {
    PannelloGsm& p = m_.pannello;
    if (p.riquadroPin) {
        if (p.codicePin.isEmpty())
            chiediCodice();
        return;
    }
    p.gestionePin = false;
    m_.stato.TentativiPin = 0;
    Uso = UsoRiquadroPin::Cambio;
    p.riquadroPin = true;
}
