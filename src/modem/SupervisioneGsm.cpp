#include "SupervisioneGsm.h"

#include "DialogoUtente.h"
#include "MotoreGsm.h"
#include "RisposteModem.h"
#include "archive/StatoGlobale.h"
#include "platform/ErroreRuntime.h"
#include "platform/PortaSeriale.h"

namespace {
// The power pulse and the test delay each last 21 ticks.
constexpr int kTickImpulso = 20;
constexpr int kTickPolling = 100;
} // namespace

SupervisioneGsm::SupervisioneGsm(MotoreGsm& motore)
    : m_(motore) {
    CanaleGsm& c = m_.canale;
    c.Registra(ComandoGsm::Test, [this](const RispostaAt& r) { rispostaTest(r); });
    c.Registra(ComandoGsm::EcoSpenta, [this](const RispostaAt& r) { rispostaInizializzazione(r); });
    c.Registra(ComandoGsm::Revisione, [this](const RispostaAt& r) { rispostaRevisione(r); });
    c.Registra(ComandoGsm::ModoTesto, [this](const RispostaAt& r) { rispostaInizializzazione(r); });
    c.Registra(ComandoGsm::ErroriEstesi,
               [this](const RispostaAt& r) { rispostaInizializzazione(r); });
    c.Registra(ComandoGsm::Registrazione,
               [this](const RispostaAt& r) { rispostaRegistrazione(r); });
    c.Registra(ComandoGsm::Segnale, [this](const RispostaAt& r) { rispostaSegnale(r); });
}

bool SupervisioneGsm::PassoInattivo() {
    StatoModem& s = m_.stato;
    PannelloGsm& p = m_.pannello;
    if (s.AttesaAccensione || s.SpegnimentoRichiesto) {
        ++s.TickAccensione;
        if (!m_.globale.AccensioneDtr && s.AttesaAccensione)
            s.TickAccensione = kTickImpulso + 1;
        if (s.TickAccensione > kTickImpulso) {
            s.TickAccensione = 0;
            s.AttesaAccensione = false;
            m_.porta.setDTREnable(false);
            s.AttesaTest = true;
            p.porta.testo = QStringLiteral("Attesa Invio Comando Test Gsm");
            if (s.SpegnimentoRichiesto) {
                s.AttesaTest = false;
                m_.globale.GsmAbilitato = false;
                s.SpegnimentoRichiesto = false;
                m_.canale.ChiudiPorta();
                p.porta.testo = QStringLiteral("GSM Spento");
                p.porta.attiva = false;
                p.trovaGsm = true;
                p.Spegni();
                emit m_.ModemSpento();
            }
        }
        return false;
    }
    if (s.AttesaTest) {
        ++s.TickAccensione;
        if (s.TickAccensione > kTickImpulso) {
            s.TickAccensione = 0;
            s.AttesaTest = false;
            s.TestInCorso = true;
            p.porta.testo = QStringLiteral("Invio Comando per Test GSM");
            // A program that ended between "AT+CMGS=" and its text left the modem waiting for
            // the text: ESC drops it, and a modem that waits for a command ignores it.
            try {
                m_.porta.Output(QString(QChar(27)));
            } catch (const ErroreRuntime&) {
            }
            m_.canale.SetStringa_Gsm();
        }
    }
    return true;
}

void SupervisioneGsm::Polling() {
    StatoModem& s = m_.stato;
    // The count moves only while no reply is awaited, so an SMS being sent holds the poll too.
    if (s.TickAttesa == 0)
        ++s.TickPolling;
    if (m_.pannello.statoPin != StatoPin::Abilitato) {
        s.TickPolling = 0;
    } else if (s.TickPolling >= kTickPolling) {
        s.TickPolling = 0;
        if (m_.globale.GsmAbilitato)
            m_.canale.SetStringa_Gsm();
    }
}

void SupervisioneGsm::TrovaGsm() {
    StatoModem& s = m_.stato;
    PannelloGsm& p = m_.pannello;
    // The command on the line gets no reply from the modem now: its feature ends it.
    m_.canale.Abbandona();
    if (m_.porta.PortOpen()) {
        m_.porta.setPortOpen(false);
        m_.porta.setDTREnable(false);
    }
    p.Spegni();
    p.porta.attiva = true;
    m_.pin.Ricomincia();
    m_.scansione.NuovoModem();
    m_.codifica.NuovoModem();
    p.trovaGsm = false;
    p.porta.testo = QStringLiteral("Attendi il TEST GSM");
    s.PortaCom = 1;
    m_.canale.Accendi_Gsm();
    m_.stato.TipoComando = ComandoGsm::Test;
}

void SupervisioneGsm::SpegniGsm() {
    if (m_.porta.PortOpen())
        m_.AvviaSpegnimento();
}

void SupervisioneGsm::rispostaTest(const RispostaAt& r) {
    StatoModem& s = m_.stato;
    if (!s.TestInCorso)
        return;
    s.TestInCorso = false;
    if (r.Ok()) {
        m_.pannello.porta.testo = QStringLiteral("Porta Gsm = ") + QString::number(s.PortaCom);
        m_.stato.TipoComando = ComandoGsm::EcoSpenta;
        s.AperturaInCorso = false;
        m_.pannello.trovaGsm = false;
        m_.canale.SetStringa_Gsm();
        return;
    }
    // Nothing that answers on this port: try the next one.
    m_.pannello.porta.testo = QStringLiteral("Accendo il GSM Com: ") + QString::number(s.PortaCom);
    m_.porta.setDTREnable(false);
    ++s.PortaCom;
    m_.canale.ChiudiPorta();
    m_.canale.Accendi_Gsm();
}

void SupervisioneGsm::rispostaInizializzazione(const RispostaAt& r) {
    if (!r.Ok()) {
        m_.utente.Messaggio(QStringLiteral("Attenzione: GSM non risponde"), Stile::SoloOk);
        return;
    }
    // Echo off, then text mode, then verbose errors, then the coding of texts and the SIM check.
    ComandoGsm& tipo = m_.stato.TipoComando;
    if (tipo == ComandoGsm::ErroriEstesi) {
        m_.codifica.Avvia();
        return;
    }
    tipo = tipo == ComandoGsm::EcoSpenta ? ComandoGsm::Revisione : ComandoGsm::ErroriEstesi;
    m_.canale.SetStringa_Gsm();
}

void SupervisioneGsm::rispostaRevisione(const RispostaAt& r) {
    StatoModem& s = m_.stato;
    if (r.Ok()) {
        m_.globale.GsmAbilitato = true;
        m_.globale.RevisioneGsm = RisposteModem::Estrai_Revisione(r.Testo());
        m_.pannello.porta.testo = QStringLiteral("GSM ON Com: ") + QString::number(s.PortaCom);
        m_.stato.TipoComando = ComandoGsm::ModoTesto;
        m_.canale.SetStringa_Gsm();
        return;
    }
    m_.canale.ChiudiPorta();
    m_.porta.setDTREnable(false);
    m_.pannello.trovaGsm = false;
    m_.pannello.porta.testo = QStringLiteral("Attendi il TEST GSM");
    ++s.PortaCom;
    m_.canale.Accendi_Gsm();
    m_.stato.TipoComando = ComandoGsm::Test;
}

void SupervisioneGsm::rispostaRegistrazione(const RispostaAt& r) {
    StatoModem& s = m_.stato;
    PannelloGsm& p = m_.pannello;
    if (!r.Ok()) {
        ++s.MancateRisposte;
        if (s.MancateRisposte != 3)
            return;
        m_.utente.Messaggio(QStringLiteral("Nessuna Risposta dal Gsm. Probabile Spento o Rotto.\n"
                                           "Riaccensione Automatica del GSM"));
        ++s.Riaccensioni;
        if (s.Riaccensioni == 3)
            m_.utente.Messaggio(QStringLiteral("Il sistema ha Riacceso per 3 volte il modulo GSM.\n"
                                               "Possibile Anomalia. Contattare L'assistenza"));
        TrovaGsm();
        return;
    }
    s.MancateRisposte = 0;
    const QString statoRete = RisposteModem::StatoRegistrazione(r.Testo());
    p.operatore.attiva = true;
    p.rete.attiva = true;
    p.credito.attiva = true;
    p.segnaleAttivo = true;
    s.Registrato = false;
    p.gestioneCredito = false;
    if (statoRete == QLatin1String("1")) {
        s.Registrato = true;
        p.gestioneCredito = true;
        p.operatore.testo = QStringLiteral("Operatore ") + m_.globale.GestoreAttivo;
        m_.stato.TipoComando = ComandoGsm::Segnale;
        m_.canale.SetStringa_Gsm();
    } else if (statoRete == QLatin1String("5")) {
        // Roaming: registration only; signal and messages wait for the home network.
        s.Registrato = true;
        p.operatore.testo = QStringLiteral("Operatore Romming");
        p.gestioneCredito = true;
    } else if (statoRete == QLatin1String("0") || statoRete == QLatin1String("2")) {
        m_.stato.TipoComando = ComandoGsm::Registrazione;
        p.rete.testo = QStringLiteral("Non Registrato");
        p.segnale = 0;
    }
}

void SupervisioneGsm::rispostaSegnale(const RispostaAt& r) {
    PannelloGsm& p = m_.pannello;
    if (!r.Ok()) {
        // The next poll reads the next slot, up to the second empty one.
        m_.scansione.Occupati.reset();
        m_.stato.TipoComando = ComandoGsm::LetturaSms;
        return;
    }
    int livello = RisposteModem::LivelloSegnale(r.Testo());
    if (livello >= 0) {
        if (livello < 3) {
            livello = 0;
            p.gestioneCredito = false;
        }
        p.rete.testo = QStringLiteral("Segnale GSM");
        p.segnale = livello;
    }
    m_.scansione.Avvia();
}
