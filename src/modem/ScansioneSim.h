#pragma once

#include "RicezioneSms.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct ContestoModem;
class RispostaAt;
class CodificaModem;
class ErroreRuntime;
struct SmsLetto;

// The scan of the SIM's message slots at each poll: each message read ("AT+CMGR="), stored,
// joined to its earlier part or known as a second reading, and deleted ("AT+CMGD=") only once it
// is stored. The modem is first asked how many messages it holds ("AT+CPMS?"), and the scan goes
// on, past any gap of empty slots, until it has found them all; a modem that refuses the question
// is scanned up to its second empty slot, from where the last scan that found messages stopped.
// A reply that shows the modem has reset itself (a message without the extended header it was
// told to show, or one in PDU mode) has the reception settings restored (CodificaModem) and the
// same slot read again before anything is stored or deleted. A delete the modem refuses or does
// not answer is tried once more before the scan reads on; a message stored but still on the SIM
// is remembered by sender, time stamp and text, so reading it again stores nothing new.
class ScansioneSim {
public:
    ScansioneSim(ContestoModem& contesto, CodificaModem& codifica);

    // A message read from the SIM was stored (new record, or a part joined to one, or a second
    // reading of one already stored).
    std::function<void(const QString& numero, const RicezioneSms::Risultato& esito)> Registrato;
    // A scan of the SIM slots has ended; polling resumes.
    std::function<void()> Conclusa;

    // After the signal query: a new scan.
    void Avvia();
    // The poll after a failed signal query: the scan reads on from the next slot.
    void Prosegui();
    // From the start of a scan to its end.
    bool InCorso() const { return inCorso_; }
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
    // The slot of the last read or delete.
    int Posizione() const { return posizione_; }
    // Messages stored whose delete has not been confirmed yet.
    int NonCancellati() const { return int(nonCancellati_.size()); }

private:
    void rispostaMemoria(const RispostaAt& r);
    void rispostaLettura(const RispostaAt& r, int posizione);
    void rispostaCancellazione(const RispostaAt& r, int posizione, const QString& chiave,
                               bool ripetuta);
    bool messaggioDelGestore(const SmsLetto& sms);
    void leggi(int posizione);
    void leggiDaPosizione(int primo);
    void avanti();
    void posizioneVuota();
    bool tuttiTrovati() const;
    // Polling resumes; the next scan without a count begins at slot `prossimoInizio`.
    void fine(int prossimoInizio);
    void archivioNonScrivibile(const ErroreRuntime& e);
    void cancellaDallaSim(const QString& chiave = QString(), bool ripetuta = false);
    static QString chiave(const SmsLetto& sms);

    ContestoModem& m_;
    CodificaModem& codifica_;
    int posizione_ = 0;
    bool inCorso_ = false;
    // (sender, time stamp, text) of the messages stored whose delete failed: read again, they
    // are only deleted again.
    QSet<QString> nonCancellati_;
    // The records this scan started ("number date time"): a piece joining one of them is
    // announced with it.
    QStringList nuoviDellaScansione_;
    bool memoriaRifiutata_ = false;
    // The slot read again after the modem's settings were restored.
    int ripristinoPer_ = 0;
    // The sender of the message read last: named when the archive refuses to store it.
    QString numeroLetto_;
    bool ripristinoInutile_ = false;
    // The archive refused a message: told once until a message is stored again.
    bool archivioGuasto_ = false;
};
