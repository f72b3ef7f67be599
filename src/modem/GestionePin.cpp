#include "GestionePin.h"

#include "CanaleGsm.h"
#include "ContestoModem.h"
#include "DialogoUtente.h"
#include "RisposteModem.h"
#include "archive/StatoGlobale.h"
#include "platform/PortaSeriale.h"

namespace {
const QString kTitolo = QStringLiteral("Abilitazione MODULO GSM");
} // namespace

GestionePin::GestionePin(ContestoModem& contesto)
    : m_(contesto) {}

void GestionePin::ControllaSim() {
    m_.canale.Invia(Comando::DallaTabella(ComandoGsm::StatoSim),
                    [this](const RispostaAt& r) { rispostaStatoSim(r); });
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
        m_.avvisi.Avvisa(
            QStringLiteral(" MODULO GMS bloccato.\nPer Sbloccare il GSM, inserire il Codice Puk "),
            Stile::Informazione, kTitolo);
        Uso = UsoRiquadroPin::Ingresso;
        p.riquadroPin = true;
        break;
    case RisposteModem::StatoSim::PinRichiesto:
        m_.avvisi.Avvisa(QStringLiteral(" Prego, inserire il Codice PIN "), Stile::Informazione,
                         kTitolo);
        Uso = UsoRiquadroPin::Ingresso;
        p.riquadroPin = true;
        break;
    case RisposteModem::StatoSim::SimAssente:
        m_.avvisi.Avvisa(
            QStringLiteral("ATTENZIONE !!! SIM NON Inserita.\n"
                           "Chiudere il Programma ed eseguire al procedura Inserimento SIM.\n\n"
                           "MODULO GSM Disabilitato modalita OFF-Line."),
            Stile::Critico, QStringLiteral("SIM non inserita"));
        // The power-off pulse of the next idle ticks switches the modem off.
        m_.stato.SpegnimentoRichiesto = true;
        m_.porta.setDTREnable(true);
        break;
    case RisposteModem::StatoSim::Pronta:
        m_.avvisi.Avvisa(QStringLiteral("MODULO GSM abilitato"), Stile::Informazione, kTitolo);
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
}

void GestionePin::rispostaPin(const RispostaAt& r) {
    PannelloGsm& p = m_.pannello;
    const int tentativi = m_.stato.TentativiPin;
    if (r.Ok()) {
        m_.avvisi.Avvisa(QStringLiteral("Codice Pin valido. Gsm Abilitato"), Stile::Informazione,
                         kTitolo);
        p.codicePin.clear();
        p.richiestaPin = RichiestaPin::Attiva;
        simPronta();
        return;
    }
    if (tentativi > 2)
        m_.avvisi.Avvisa(QStringLiteral("MODULO GSM bloccato.\n"
                                        "Per sbloccare inserire Codice PUK seguito da virgola "
                                        "e PIN\nEsempio: 52719034,8316"),
                         Stile::Esclamazione, kTitolo);
    else
        m_.avvisi.Avvisa(QStringLiteral("Errore! Codice PIN non valido."), Stile::Esclamazione,
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
    // Refused: the caption stays and the frame stays open.
    if (!r.Ok())
        return;
    if (p.richiestaPin == RichiestaPin::Disattiva) {
        m_.avvisi.Avvisa(QStringLiteral("Codice Pin Abilitato"));
        p.richiestaPin = RichiestaPin::Attiva;
    } else {
        m_.avvisi.Avvisa(QStringLiteral("Codice Pin Disabilitato"));
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
    const QString codice = p.codicePin;
    // The frame was opened by the PIN button to switch the request the SIM is known to have.
    if (Uso == UsoRiquadroPin::Cambio && p.richiestaPin != RichiestaPin::NonNota) {
        const QChar modo =
            p.richiestaPin == RichiestaPin::Attiva ? QLatin1Char('0') : QLatin1Char('1');
        const QString riga = QStringLiteral("AT+CLCK=\"SC\",") + modo + QStringLiteral(",\"") +
                             codice + QLatin1Char('"');
        // Queued behind whatever is on the line: its answer is this command's, never a scan's.
        m_.canale.Invia(Comando::Composto(ComandoGsm::BloccoPin, riga,
                                          TabellaComandi::Riga(ComandoGsm::BloccoPin).timeoutTick),
                        [this](const RispostaAt& r) { rispostaBloccoPin(r); });
        return;
    }
    if (!codice.isEmpty() || s.TentativiPin <= 2) {
        ++s.TentativiPin;
        if (!codice.isEmpty()) {
            // Sent exactly as typed: for the PUK, the PUK, a comma and the new PIN.
            m_.canale.Invia(
                Comando::Composto(ComandoGsm::InserimentoPin, QStringLiteral("AT+CPIN=") + codice,
                                  TabellaComandi::Riga(ComandoGsm::InserimentoPin).timeoutTick),
                [this](const RispostaAt& r) { rispostaPin(r); });
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
