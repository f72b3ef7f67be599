#pragma once

#include "platform/MsgBox.h"

#include <QList>
#include <QStringList>

// Answers message boxes from a script for as long as it lives, and records every box shown.
// When the script runs out, a box is answered with its default button.
class CopioneMessaggi {
public:
    explicit CopioneMessaggi(QList<int> risposte = {});
    ~CopioneMessaggi();
    CopioneMessaggi(const CopioneMessaggi&) = delete;
    CopioneMessaggi& operator=(const CopioneMessaggi&) = delete;

    void Rispondi(int risposta) { risposte_.append(risposta); }
    const QList<MessaggioMostrato>& mostrati() const { return mostrati_; }
    QStringList testi() const;

private:
    QList<int> risposte_;
    QList<MessaggioMostrato> mostrati_;
};
