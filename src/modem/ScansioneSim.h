#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class MotoreGsm;
class RispostaAt;
class ErroreRuntime;
struct SmsLetto;

// The scan of the SIM's message slots at each poll: each message read ("AT+CMGR="), stored,
// joined to its earlier part or known as a second reading, and deleted ("AT+CMGD=") only once it
// is stored. The modem is first asked how many messages it holds ("AT+CPMS?"), and the scan goes
// on, past any gap of empty slots, until it has found them all; a modem that refuses the question
// is scanned up to its second empty slot, from where the last scan that found messages stopped.
// A reply that shows the modem has reset itself (a message without the extended header it was
// told to show, or one in PDU mode) has the reception settings restored (CodificaModem) and the
// same slot read again before anything is stored or deleted.
class ScansioneSim {
public:
    explicit ScansioneSim(MotoreGsm& motore);

    // After the signal query: a new scan.
    void Avvia();
    // A new modem (or the same one searched again): whether it answers "AT+CPMS?" is learnt anew.
    void NuovoModem();

    // Slots of the current scan that held no readable message.
    int PosizioniVuote = 0;
    // What the modem reported at the start of the scan; nullopt when it would not tell.
    std::optional<int> Occupati;
    int Capienza = 0;
    // Messages found by the current scan.
    int Trovati = 0;
    // The slot the next scan begins with, when the modem does not tell how many it holds.
    int ProssimoInizio = 1;
    static constexpr int kUltimaPosizione = 255;

private:
    void rispostaMemoria(const RispostaAt& r);
    void rispostaLettura(const RispostaAt& r);
    void rispostaCancellazione();
    bool messaggioDelGestore(const SmsLetto& sms);
    void leggiDaPosizione(int primo);
    void posizioneVuota();
    bool tuttiTrovati() const;
    // Polling resumes; the next scan without a count begins at slot `prossimoInizio`.
    void fine(int prossimoInizio);
    void archivioNonScrivibile(const ErroreRuntime& e);
    void cancellaDallaSim();
    void rileggi(int indice);

    MotoreGsm& m_;
    // The records this scan started ("number date time"): a piece joining one of them is
    // announced with it.
    QStringList nuoviDellaScansione_;
    bool memoriaRifiutata_ = false;
    // The slot read again after the modem's settings were restored.
    int ripristinoPer_ = 0;
    bool ripristinoInutile_ = false;
    // The archive refused a message: told once until a message is stored again.
    bool archivioGuasto_ = false;
};
