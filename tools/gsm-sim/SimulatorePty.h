#pragma once

#include "ModemSimulato.h"
#include "PseudoTerminale.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

// The simulated modem on a Linux pseudo-terminal: the program opens the slave side (through a
// symbolic link such as porte/COM1) as if it were the serial port, the simulator serves the
// master side.
class SimulatorePty : public QObject {
    Q_OBJECT
public:
    // Beyond this much unread output (nobody reading the port) the newest answers are dropped.
    static constexpr qsizetype kMassimoCodaUscita = 1 << 20;

    explicit SimulatorePty(QObject* parent = nullptr);
    ~SimulatorePty() override;

    // Opens the pseudo-terminal and, when a path is given, links it there (the folder is made if
    // missing; an existing symbolic link is replaced, a file or folder never).
    bool apri(const QString& percorsoCollegamento, QString* errore);
    QString dispositivo() const { return pty_.dispositivo(); }
    QString collegamento() const { return pty_.collegamento(); }

    // Sends what was held back by the last service, then answers all input waiting. Never blocks.
    void servi();
    // Serves whenever input arrives; the held-back half of a split answer follows by itself.
    void avviaAutomatico();
    void impostaRitardoRimandato(int ms) { ritardoRimandato_ = ms; }
    // Each SMS result comes this long after its text (0: at once). Served by hand, it goes at the
    // first service once the time is up.
    void impostaRitardoEsitoInvio(int ms);

    qint64 byteRicevuti() const { return ricevuti_; }
    qint64 byteInviati() const { return inviati_; }
    // Serves until at least `totaleRicevuto` bytes have come in since opening, or time is up.
    bool attendiByte(qint64 totaleRicevuto, int msMassimi);

    ModemSimulato& modem() { return modem_; }

private:
    void accoda(const QByteArray& byte);
    void scriviCoda();
    void chiudi();

    ModemSimulato modem_;
    PseudoTerminale pty_;
    QByteArray codaUscita_;
    qint64 ricevuti_ = 0;
    qint64 inviati_ = 0;
    int ritardoRimandato_ = 300;
    int ritardoEsito_ = 0;
    QDeadlineTimer scadenzaEsito_;
    QTimer* timerEsito_ = nullptr;
    bool automatico_ = false;
    QSocketNotifier* lettura_ = nullptr;
    QSocketNotifier* scrittura_ = nullptr;
    QTimer* timerRimandato_ = nullptr;
};
