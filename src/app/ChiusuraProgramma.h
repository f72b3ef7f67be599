#pragma once

#include <QObject>
#include <functional>
#include <optional>

class BackupAutomatico;
class MotoreGsm;
class QWidget;

// The closing of the program: the questions of "Esci", the modem switched off, the closing copy.
// The window asks for it and is told when to show the wait and when to unload; the engine says
// when the modem is off. The end from the system (session, SIGTERM) takes the same road without
// questions.
class ChiusuraProgramma : public QObject {
    Q_OBJECT
public:
    // What the user chose at the closing questions.
    enum class Scelta { Chiudi, Resta };

    // `smsDaGestire` counts the orders still pending; the boxes belong to `finestra`.
    ChiusuraProgramma(MotoreGsm& motore, BackupAutomatico& backup,
                      std::function<int()> smsDaGestire, QWidget* finestra);

    // "Esci" or the close box. Nothing is asked while the modem is being opened, while a closing
    // is under way or while its question is already open: then there is no answer.
    std::optional<Scelta> Richiedi();
    // The session ends or the system stops the program: no question, and the copy's
    // complaints go to the log, as nobody can answer a box.
    void DiSistema();

    // The user, or the system, has decided to close.
    bool Avviata() const { return avviata_; }
    bool DiSistemaInCorso() const { return diSistema_; }
    bool Conclusa() const { return conclusa_; }
    // The answer to the last questions asked; none before the first.
    std::optional<Scelta> UltimaScelta() const { return ultima_; }

signals:
    // The modem is being switched off: the wait is shown meanwhile.
    void SpegnimentoAvviato();
    // The closing copy is taken: the program may unload.
    void Terminata();

private:
    Scelta conferma();
    void concludi();

    MotoreGsm& motore_;
    BackupAutomatico& backup_;
    std::function<int()> smsDaGestire_;
    QWidget* finestra_;
    bool avviata_ = false;
    bool diSistema_ = false;
    bool conclusa_ = false;
    // Until the user has answered, a second "Esci" is not asked again.
    bool domanda_ = false;
    std::optional<Scelta> ultima_;
};
