#pragma once

#include "RigaListaSms.h"
#include "platform/Guardia.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVector>

// The layout that the arrival notice and the three message dialogs share: the caption "Testo SMS
// ricevuto inviato dal Cliente", a heading, five captioned fields (number, name, date, time,
// text) and a row of buttons.
class SchedaSms : public QDialog {
    Q_OBJECT
public:
    QLabel* Label2; // number
    QLabel* Label3; // name
    QLabel* Label4; // date
    QLabel* Label5; // time
    QLabel* Label6; // text
    QVector<QPushButton*> Command1;

    void Riempi(const RigaListaSms& riga);
    // Stores the button's answer code into the caller's variable and closes the dialog.
    virtual void Command1_Click(int index);
    // Esc and the close box: the cancelling answer.
    void reject() override;

protected:
    // `intestazioni`: the heading texts, the first in large type; `didascalie`: the five field
    // captions; `pulsanti`: the button captions, by index, each with its answer code in
    // `codici`. The answer goes to `risposta`, which holds the cancelling code `annulla` until a
    // button is pressed: an answer left there by an earlier dialog is never read again.
    SchedaSms(const QString& nome, const QStringList& intestazioni, const QStringList& didascalie,
              const QStringList& pulsanti, QWidget* parent, int* risposta = nullptr,
              QVector<int> codici = {}, int annulla = 0);

    // The buttons run through it.
    Guardia guardia_;

private:
    int* risposta_;
    QVector<int> codici_;
    int annulla_;
};
