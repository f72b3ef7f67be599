#pragma once

#include "modem/DialogoUtente.h"

#include <QList>
#include <QStringList>
#include <functional>

// The person at the desk as the engine's tests play them: every box is recorded and answered
// from a script, then with its default button; the diagnostic lines are kept.
class DialogoRegistrato : public DialogoUtente {
public:
    struct Avviso {
        QString testo;
        int stile = 0;
        QString titolo;
    };

    QList<Avviso> mostrati;
    QList<int> risposte;
    QStringList inviate;
    QStringList ricevute;
    // Runs while a box is open, as the timers of a real program run under it.
    std::function<void()> mentreAperto;

    int Messaggio(const QString& testo, int stile, const QString& titolo) override;
    void Diagnostica(bool inviata, const QString& riga) override;
    QStringList testi() const;
};
