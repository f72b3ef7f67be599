#pragma once

#include <QString>
#include <deque>

class DialogoUtente;
class CanaleGsm;

// What the engine has to tell the user, waiting for the tick. A box opened inside a reply
// handler would let the other timers run under it in the middle of an exchange; a handler
// queues its notice here and returns, and the tick shows the notices once its modem step has
// ended. While one is open the channel holds the commands of a window's timer (the campaign
// waits), so that the box stands over a line at rest; the desk's own polling may go on.
class AvvisiModem {
public:
    void Avvisa(const QString& testo, int stile = 0, const QString& titolo = QString());
    // Shows the notices waiting, one box at a time. A notice queued while a box is open is
    // shown by the same loop, never in a second box over the first.
    void Mostra(DialogoUtente& utente, CanaleGsm& canale);
    bool Aperto() const { return aperto_; }
    int InAttesa() const { return int(avvisi_.size()); }

private:
    struct Avviso {
        QString testo;
        int stile = 0;
        QString titolo;
    };
    std::deque<Avviso> avvisi_;
    bool aperto_ = false;
};
