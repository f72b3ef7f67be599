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
    // Keeps which button was pressed and closes the dialog.
    virtual void Command1_Click(int index);
    // Esc and the close box: no button.
    void reject() override;
    // The index of the button pressed, or -1 (closed without a button, or still open): each
    // dialog turns it into its own answer.
    int Premuto() const { return premuto_; }

protected:
    // The field captions most cards show: number, name, date, time, text.
    static QStringList DidascalieSms() {
        return {QStringLiteral("Numero:"), QStringLiteral("Nome:"), QStringLiteral("Data:"),
                QStringLiteral("Ora:"), QStringLiteral("Testo:")};
    }

    // `intestazioni`: the heading texts, the first in large type; `didascalie`: the five field
    // captions; `pulsanti`: the button captions, by index.
    SchedaSms(const QString& nome, const QStringList& intestazioni, const QStringList& didascalie,
              const QStringList& pulsanti, QWidget* parent);

    // The buttons run through it.
    Guardia guardia_;

private:
    int premuto_ = -1;
};
