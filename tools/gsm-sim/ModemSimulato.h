#pragma once

#include "RichiestaInviata.h"
#include "SmsSim.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <functional>
#include <map>
#include <optional>

// A GSM modem in SMS text mode as the program sees it on the serial line: bytes in, bytes out.
// No timing and no I/O here, so every answer can be checked byte for byte.
class ModemSimulato {
public:
    enum class StatoSim { Assente, AttesaPin, AttesaPuk, Guasta, Pronta };
    // Values as reported by +CREG.
    enum class StatoRete { Assente = 0, Casa = 1, Ricerca = 2, Roaming = 5 };
    // Line faults played on the following commands:
    // Muto     the command is not heard: no echo, no answer, nothing done;
    // Errore   the command is not done and answers ERROR;
    // Spezzato the answer comes in two pieces, the second from rimandato();
    // Intruso  an unsolicited RING or +CMTI line lands in the middle of the answer;
    // Rumore   a few bytes of line noise come before the answer;
    // IntrusoFuori unsolicited lines come before the answer and after its final result;
    // Spento    the modem is switched off: every byte is lost and nothing comes back, whatever
    //           the count; when another fault (or none) is set it powers on as riavvia() does.
    // An SMS text closed with Ctrl-Z counts as a command; Muto there sends it and loses the answer.
    enum class Guasto { Nessuno, Muto, Errore, Spezzato, Intruso, Rumore, IntrusoFuori, Spento };

    static constexpr int kMassimoRiga = 4096;
    static constexpr int kMassimoTestoSms = 4096;
    static constexpr int kMassimoRegistro = 10000;

    ModemSimulato() = default;

    // Bytes written by the program; returns what the modem sends back at once.
    QByteArray ricevi(const QByteArray& dalProgramma);
    // The second half of a split answer, handed out once.
    QByteArray rimandato();
    bool haRimandato() const { return !trattenuto_.isEmpty(); }

    // Power cycle: echo on, verbose errors off, the PIN to be entered again, any half-typed
    // command or text lost. SIM slots, settings and logs stay.
    void riavvia();

    // Settings.
    void impostaSimPresente(bool presente);
    void impostaPin(const QByteArray& pin) { pin_ = pin; }
    void impostaPuk(const QByteArray& puk) { puk_ = puk; }
    // A SIM with the lock on asks for the PIN again, as after power on.
    void impostaPinAttivo(bool attivo);
    void impostaStatoRete(StatoRete stato) { rete_ = stato; }
    void impostaSegnale(int rssi) { segnale_ = rssi; }
    void impostaRevisione(const QByteArray& revisione) { revisione_ = revisione; }
    void impostaRispostaUssd(const QByteArray& risposta) { rispostaUssd_ = risposta; }
    QByteArray rispostaUssd() const { return rispostaUssd_; }
    // The network's USSD answer comes a moment after the "OK", as from a real network, handed
    // out by rimandato(); otherwise it follows the "OK" at once.
    void impostaUssdRitardato(bool ritardato) { ussdRitardato_ = ritardato; }
    // An SMS sent to `numero` (the operator's credit service) is answered by an SMS on the SIM
    // from `mittente` with `testo`; an empty number answers none.
    struct RispostaCreditoSms {
        QByteArray numero;
        QByteArray mittente;
        QByteArray testo;
    };
    void impostaRispostaCreditoSms(const RispostaCreditoSms& r) { creditoSms_ = r; }
    RispostaCreditoSms rispostaCreditoSms() const { return creditoSms_; }
    // Slots above a smaller capacity are lost. A SIM holds a few tens; a modem's own memory, up
    // to a thousand.
    static constexpr int CapacitaMassima = 1000;
    void impostaCapacita(int slot);
    // Some modems answer the read of an empty slot with +CMS ERROR: 321 instead of a bare OK.
    void impostaVuotoComeErrore(bool errore) { vuotoComeErrore_ = errore; }
    // Text (true) or PDU mode, also the mode ATZ goes back to.
    void impostaModoTesto(bool testo);
    void impostaGuasto(Guasto guasto, int quanti = -1);
    // The next deletes ("AT+CMGD=") each take the next fault of the list: Errore answers
    // "+CMS ERROR: 500", Muto nothing at all; either way the message stays in its slot.
    void impostaGuastiCancellazione(const QList<Guasto>& guasti) { guastiCancellazione_ = guasti; }
    // Some modems take "ATE0" with OK and go on echoing.
    void impostaEcoFisso(bool fisso) { ecoFisso_ = fisso; }
    // Older modems do not know AT+CPMS and answer it as any unknown command.
    void impostaSenzaCpms(bool senza) { senzaCpms_ = senza; }
    // Modems that do not show the extended header (AT+CSDH) or change character set (AT+CSCS)
    // answer them as any unknown command.
    void impostaSenzaCsdh(bool senza) { senzaCsdh_ = senza; }
    void impostaSenzaCscs(bool senza) { senzaCscs_ = senza; }
    // A modem that offers no "8859-1" and starts in `iniziale`: "GSM", where texts cross the
    // line as septet codes ("@" as NUL, "è" as 0x04, "€" as ESC "e"), or "UCS2", where every
    // text field is hexadecimal. Empty: the usual modem, "8859-1" offered, IRA at power on.
    void impostaSenza8859(const QByteArray& iniziale);
    // The character set of the line ("IRA" after power on) and the coding SMS are sent with.
    QByteArray insieme() const { return insieme_; }
    bool intestazioneEstesa() const { return csdh_; }
    int dcsInvio() const { return dcsInvio_; }
    // The network refuses every SMS to this number: its text gets "+CMS ERROR: 21" (short
    // message transfer rejected) and nothing leaves.
    void rifiutaInvioA(const QByteArray& numero) { rifiutati_.insert(numero); }
    void nessunRifiuto() { rifiutati_.clear(); }
    QSet<QByteArray> rifiutati() const { return rifiutati_; }
    // The next `quanti` SMS texts (-1: until told otherwise, 0: none) get no answer at all, as
    // from a modem that hangs once it has the text; those SMS do not leave.
    void impostaInvioMuto(int quanti) { invioMuto_ = quanti; }
    int invioMuto() const { return invioMuto_; }
    // The result of each SMS text ("+CMGS: n", OK) is held back, as a network confirms late, and
    // handed out by esitoInvio(); the SMS itself leaves at once.
    void impostaEsitoInvioRitardato(bool ritardato) { esitoRitardato_ = ritardato; }
    bool haEsitoInvio() const { return !esitoTrattenuto_.isEmpty(); }
    QByteArray esitoInvio();

    StatoSim statoSim() const;
    StatoRete statoRete() const { return rete_; }
    // What +CREG reports: a SIM that is not ready is not registered.
    StatoRete statoReteEffettivo() const;
    int segnale() const { return segnale_; }
    bool pinAttivo() const { return bloccoPin_; }
    int tentativiPinRimasti() const { return tentativiPin_; }
    int tentativiPukRimasti() const { return tentativiPuk_; }
    bool eco() const { return eco_; }
    bool modoTesto() const { return modoTesto_; }
    int capacita() const { return capacita_; }
    Guasto guasto() const { return guasto_; }
    int guastiRestanti() const { return guastiRestanti_; }
    QByteArray revisione() const { return revisione_; }
    // Bytes waiting for the end of a command or of an SMS text: never above the caps.
    int byteInAttesa() const { return int(riga_.size() + testoSms_.size()); }

    // SIM slots, numbered from 1.
    int aggiungiSms(const QByteArray& mittente, const QByteArray& testo,
                    const QByteArray& timestamp = {},
                    std::optional<QByteArray> alfa = QByteArray());
    // In the first free slot; 0 when the SIM is full.
    int aggiungiSms(const SmsSim& sms);
    bool impostaSms(int indice, const SmsSim& sms);
    std::optional<SmsSim> sms(int indice) const;
    QList<int> slotOccupati() const;

    // Everything the program had the modem send, and every command line heard, oldest first;
    // both keep the latest kMassimoRegistro entries.
    QList<RichiestaInviata> richiesteInviate() const { return richieste_; }
    QList<QByteArray> comandiRicevuti() const { return comandi_; }
    // Called at each new send request, e.g. to keep a file of sent messages.
    void impostaAvvisoRichiesta(std::function<void(const RichiestaInviata&)> avviso) {
        avviso_ = std::move(avviso);
    }

    // "yy/MM/dd,hh:mm:ss±zz" for now, local time, zone in quarter hours.
    static QByteArray timestampAdesso();

private:
    // An answer in its parts, so that faults can cut or fill it in the right place.
    struct Risposta {
        QByteArray informazioni; // lines before the final result
        QByteArray finale;       // OK / ERROR / +CME / +CMS, or the "> " prompt
        QByteArray dopo;         // unsolicited lines that follow the result (+CUSD)
    };

    void fineRiga(QByteArray& uscita);
    void byteTesto(char c, QByteArray& uscita);
    void consegna(const Risposta& r, Guasto g, QByteArray& uscita);
    void emetti(QByteArray& uscita, const QByteArray& byte);
    Guasto guastoPerComando();
    void registraComando(const QByteArray& riga);
    void registraRichiesta(const RichiestaInviata& r);

    Risposta esegui(const QByteArray& riga);
    Risposta eseguiEsteso(const QByteArray& nome, const QByteArray& resto);
    Risposta comandoClck(const QByteArray& resto);
    Risposta comandoCpin(const QByteArray& resto);
    Risposta comandoCmgr(const QByteArray& resto);
    Risposta comandoCmgl(const QByteArray& resto);
    Risposta comandoCmgd(const QByteArray& resto);
    Risposta comandoCpms(const QByteArray& resto);
    Risposta comandoCmgs(const QByteArray& resto);
    Risposta comandoCusd(const QByteArray& resto);
    std::optional<Risposta> comandoCodifica(const QByteArray& nome, const QByteArray& resto);
    Risposta comandoCsdh(const QByteArray& resto);
    Risposta comandoCscs(const QByteArray& resto);
    Risposta comandoCsmp(const QByteArray& resto);
    QByteArray corpoMostrato(const SmsSim& s) const;
    void azzeraCodifica();
    Risposta comandoDial(const QByteArray& numero);
    Risposta inviaTesto();

    bool pinGiusto(const QByteArray& tentativo);
    bool pukGiusto(const QByteArray& tentativo);
    std::optional<int> erroreSimCme() const;
    std::optional<int> erroreSimCms() const;
    bool registrato() const;
    QByteArray intestazione(const SmsSim& s) const;

    Risposta ok() const;
    Risposta errore() const;
    Risposta cme(int codice) const;
    Risposta cms(int codice) const;
    Risposta informazione(const QByteArray& riga) const;
    static QList<QByteArray> parametri(const QByteArray& testo);
    static std::optional<int> numero(const QByteArray& testo);

    // Line state.
    QByteArray riga_;
    bool rigaTroppoLunga_ = false;
    bool inTesto_ = false;
    QByteArray destinatarioSms_;
    QByteArray testoSms_;
    QByteArray trattenuto_;
    bool eco_ = true;
    bool ecoFisso_ = false;
    bool senzaCpms_ = false;
    bool senzaCsdh_ = false;
    bool senzaCscs_ = false;
    bool csdh_ = false;
    QByteArray insieme_ = "IRA";
    QByteArray insiemeIniziale_ = "IRA";
    bool senza8859_ = false;
    int dcsInvio_ = 0;
    int cmee_ = 0;
    bool modoTesto_ = true;
    bool modoTestoIniziale_ = true;

    // SIM.
    bool simPresente_ = true;
    QByteArray pin_ = "1234";
    QByteArray puk_ = "12345678";
    bool bloccoPin_ = false;
    bool pinInserito_ = true;
    int tentativiPin_ = 3;
    int tentativiPuk_ = 10;
    int capacita_ = 30;
    bool vuotoComeErrore_ = false;
    std::map<int, SmsSim> slot_;

    // Network and identity.
    StatoRete rete_ = StatoRete::Casa;
    int segnale_ = 20;
    QByteArray revisione_ = "SIMGSM 1.0.2";
    QByteArray rispostaUssd_ = "Credito residuo: 5,23 Euro";
    bool ussdRitardato_ = false;
    RispostaCreditoSms creditoSms_;
    int riferimento_ = 0;

    // Faults.
    Guasto guasto_ = Guasto::Nessuno;
    int guastiRestanti_ = 0;
    int intrusi_ = 0;
    QList<Guasto> guastiCancellazione_;

    QSet<QByteArray> rifiutati_;
    int invioMuto_ = 0;
    bool esitoRitardato_ = false;
    QByteArray esitoTrattenuto_;

    QList<RichiestaInviata> richieste_;
    QList<QByteArray> comandi_;
    std::function<void(const RichiestaInviata&)> avviso_;
};
