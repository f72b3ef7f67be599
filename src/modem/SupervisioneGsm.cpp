#include "SupervisioneGsm.h"

#include "CanaleGsm.h"
#include "CodificaModem.h"
#include "ContestoModem.h"
#include "DialogoUtente.h"
#include "GestionePin.h"
#include "RisposteModem.h"
#include "ScansioneSim.h"
#include "SequenzaAt.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "platform/ErroreRuntime.h"
#include "platform/PortaSeriale.h"

#include <utility>

namespace {
// The power pulse and the test delay each last 21 ticks.
constexpr int kTickImpulso = 20;
constexpr int kTickPolling = 100;
} // namespace

SupervisioneGsm::SupervisioneGsm(ContestoModem& contesto, GestionePin& pin, ScansioneSim& scansione,
                                 CodificaModem& codifica)
    : m_(contesto)
    , pin_(pin)
    , scansione_(scansione)
    , codifica_(codifica) {}

void SupervisioneGsm::invia(ComandoGsm tipo, void (SupervisioneGsm::*gestore)(const RispostaAt&)) {
    m_.canale.Invia(Comando::DallaTabella(tipo),
                    [this, gestore](const RispostaAt& r) { (this->*gestore)(r); });
}

bool SupervisioneGsm::PassoInattivo() {
    StatoModem& s = m_.stato;
    PannelloGsm& p = m_.pannello;
    if (s.AttesaAccensione || s.SpegnimentoRichiesto) {
        ++s.TickAccensione;
        if (!m_.impostazioni.accensioneDtr && s.AttesaAccensione)
            s.TickAccensione = kTickImpulso + 1;
        if (s.TickAccensione > kTickImpulso) {
            s.TickAccensione = 0;
            s.AttesaAccensione = false;
            m_.porta.setDTREnable(false);
            s.AttesaTest = true;
            p.porta.testo = QStringLiteral("Attesa Invio Comando Test Gsm");
            if (s.SpegnimentoRichiesto) {
                s.AttesaTest = false;
                s.GsmAbilitato = false;
                s.SpegnimentoRichiesto = false;
                m_.canale.ChiudiPorta();
                p.porta.testo = QStringLiteral("GSM Spento");
                p.porta.attiva = false;
                p.trovaGsm = true;
                p.Spegni();
                if (Spento)
                    Spento();
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
            m_.canale.ScriviGrezzo(QString(QChar(27)));
            invia(ComandoGsm::Test, &SupervisioneGsm::rispostaTest);
        }
    }
    return true;
}

void SupervisioneGsm::Polling() {
    StatoModem& s = m_.stato;
    if (scansioneRichiesta_ && m_.pannello.statoPin == StatoPin::Abilitato && s.GsmAbilitato &&
        s.Registrato && !m_.canale.Occupato() && !scansione_.InCorso()) {
        scansioneRichiesta_ = false;
        s.TickPolling = 0;
        scansione_.Avvia();
        return;
    }
    // The count moves only while no reply is awaited, so an SMS being sent holds the poll too.
    if (s.TickAttesa == 0)
        ++s.TickPolling;
    if (m_.pannello.statoPin != StatoPin::Abilitato) {
        s.TickPolling = 0;
    } else if (s.TickPolling >= kTickPolling) {
        s.TickPolling = 0;
        if (!s.GsmAbilitato || m_.canale.Occupato())
            return;
        scansioneRichiesta_ = false;
        if (std::exchange(pollLettura_, false))
            scansione_.Prosegui();
        else
            invia(ComandoGsm::Registrazione, &SupervisioneGsm::rispostaRegistrazione);
    }
}

void SupervisioneGsm::TrovaGsm() {
    StatoModem& s = m_.stato;
    PannelloGsm& p = m_.pannello;
    // The commands on the line and queued get no reply from the modem now: their features end
    // them.
    m_.canale.AbbandonaTutti();
    pollLettura_ = false;
    scansioneRichiesta_ = false;
    if (m_.porta.PortOpen()) {
        m_.porta.setPortOpen(false);
        m_.porta.setDTREnable(false);
    }
    p.Spegni();
    p.porta.attiva = true;
    p.modello.clear();
    pin_.Ricomincia();
    scansione_.NuovoModem();
    codifica_.NuovoModem();
    p.trovaGsm = false;
    p.porta.testo = QStringLiteral("Attendi il TEST GSM");
    s.PortaCom = 1;
    m_.canale.Accendi_Gsm();
}

void SupervisioneGsm::SpegniGsm() {
    if (m_.porta.PortOpen())
        AvviaSpegnimento();
}

void SupervisioneGsm::MessaggioArrivato() {
    // A scan under way reads the new slot itself.
    if (!scansione_.InCorso())
        scansioneRichiesta_ = true;
}

void SupervisioneGsm::SegnoDiRiavvio() {
    // During the start-up chain the settings are being set anyway.
    if (!m_.stato.GsmAbilitato || m_.pannello.statoPin != StatoPin::Abilitato ||
        codifica_.InCorso())
        return;
    const QDateTime adesso = m_.orologio();
    if (ultimoRipristinoDaSegno_.isValid() && ultimoRipristinoDaSegno_.secsTo(adesso) >= 0 &&
        ultimoRipristinoDaSegno_.secsTo(adesso) < 60)
        return;
    ultimoRipristinoDaSegno_ = adesso;
    codifica_.Ripristina([] {});
}

void SupervisioneGsm::ChiediModello() {
    if (!m_.stato.GsmAbilitato || !m_.pannello.modello.isEmpty())
        return;
    invia(ComandoGsm::Modello, &SupervisioneGsm::rispostaModello);
}

void SupervisioneGsm::rispostaModello(const RispostaAt& r) {
    if (!r.Ok())
        return;
    for (qsizetype i = 0; i < r.Righe().size(); ++i)
        if (r.Righe()[i].tipo == RispostaAt::Tipo::Informazione) {
            m_.pannello.modello = r.TestoRiga(i).trimmed();
            break;
        }
    if (m_.stato.DiagnosticaAttiva && !m_.pannello.modello.isEmpty())
        m_.utente.Diagnostica(false, QStringLiteral("Modello del modem: ") + m_.pannello.modello);
}

void SupervisioneGsm::AvviaSpegnimento() {
    m_.porta.setDTREnable(true);
    m_.stato.TickAccensione = 0;
    m_.stato.SpegnimentoRichiesto = true;
}

void SupervisioneGsm::rispostaTest(const RispostaAt& r) {
    StatoModem& s = m_.stato;
    if (!s.TestInCorso)
        return;
    s.TestInCorso = false;
    if (r.Ok()) {
        m_.pannello.porta.testo = QStringLiteral("Porta Gsm = ") + QString::number(s.PortaCom);
        s.AperturaInCorso = false;
        m_.pannello.trovaGsm = false;
        avvio();
        return;
    }
    // Nothing that answers on this port: try the next one.
    m_.pannello.porta.testo = QStringLiteral("Accendo il GSM Com: ") + QString::number(s.PortaCom);
    m_.porta.setDTREnable(false);
    ++s.PortaCom;
    m_.canale.ChiudiPorta();
    m_.canale.Accendi_Gsm();
}

namespace {

using Sequenza = SequenzaAt<SupervisioneGsm>;

// The modem answered "AT": echo off, the revision (which also tells a modem from whatever else
// answers on the port), text mode, verbose errors; then the coding of texts and the SIM check.
const Sequenza::Passo kAvvio[] = {
    {ComandoGsm::EcoSpenta},
    {ComandoGsm::Revisione, nullptr, nullptr, false, &SupervisioneGsm::EsitoRevisione},
    {ComandoGsm::ModoTesto},
    {ComandoGsm::ErroriEstesi},
};

} // namespace

void SupervisioneGsm::avvio() {
    Sequenza::Esegui(m_.canale, *this, kAvvio, [this](bool completata) {
        if (completata)
            codifica_.Avvia();
        else
            m_.avvisi.Avvisa(QStringLiteral("Attenzione: GSM non risponde"), Stile::SoloOk);
    });
}

SequenzaAt<SupervisioneGsm>::Poi SupervisioneGsm::EsitoRevisione(const RispostaAt& r) {
    StatoModem& s = m_.stato;
    if (r.Ok()) {
        s.GsmAbilitato = true;
        m_.pannello.revisione = RisposteModem::Estrai_Revisione(r.Testo());
        m_.pannello.porta.testo = QStringLiteral("GSM ON Com: ") + QString::number(s.PortaCom);
        return Sequenza::Poi::Avanti;
    }
    // Not a modem that answers as one: the next port.
    m_.canale.ChiudiPorta();
    m_.porta.setDTREnable(false);
    m_.pannello.trovaGsm = false;
    m_.pannello.porta.testo = QStringLiteral("Attendi il TEST GSM");
    ++s.PortaCom;
    m_.canale.Accendi_Gsm();
    return Sequenza::Poi::Lascia;
}

void SupervisioneGsm::rispostaRegistrazione(const RispostaAt& r) {
    StatoModem& s = m_.stato;
    PannelloGsm& p = m_.pannello;
    if (!r.Ok()) {
        ++s.MancateRisposte;
        if (s.MancateRisposte != 3)
            return;
        m_.avvisi.Avvisa(QStringLiteral("Nessuna Risposta dal Gsm. Probabile Spento o Rotto.\n"
                                        "Riaccensione Automatica del GSM"));
        ++s.Riaccensioni;
        if (s.Riaccensioni == 3)
            m_.avvisi.Avvisa(QStringLiteral("Il sistema ha Riacceso per 3 volte il modulo GSM.\n"
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
        p.operatore.testo = QStringLiteral("Operatore ") + m_.globale.gestore.nome;
        invia(ComandoGsm::Segnale, &SupervisioneGsm::rispostaSegnale);
    } else if (statoRete == QLatin1String("5")) {
        // Roaming: registration only; signal and messages wait for the home network.
        s.Registrato = true;
        p.operatore.testo = QStringLiteral("Operatore Romming");
        p.gestioneCredito = true;
    } else if (statoRete == QLatin1String("0") || statoRete == QLatin1String("2")) {
        p.rete.testo = QStringLiteral("Non Registrato");
        p.segnale = 0;
    }
}

void SupervisioneGsm::rispostaSegnale(const RispostaAt& r) {
    PannelloGsm& p = m_.pannello;
    if (!r.Ok()) {
        // The next poll reads the next slot, up to the second empty one.
        scansione_.Occupati.reset();
        pollLettura_ = true;
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
    // This scan reads whatever a "+CMTI:" announced meanwhile.
    scansioneRichiesta_ = false;
    scansione_.Avvia();
}
