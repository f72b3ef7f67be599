#pragma once

#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

// Screen readers and automated checks find a control by what it says: its accessible name is
// its caption, and stays so when the caption changes. A field is named by the caption beside it
// (its buddy label); a label that shows a value is read out as that value.
class Accessibile {
public:
    // The caption and the accessible name, together, shown as plain text.
    static void Testo(QLabel* etichetta, const QString& testo);
    static void Testo(QAbstractButton* pulsante, const QString& testo);
    // Every label and button of the window named by its caption as it stands.
    static void NominaDaTesto(QWidget* finestra);
    // `didascalia` names `campo`: its buddy, and the field's accessible name is the caption
    // without the colon a reader would read out (an edit), or its description (a value label,
    // which is read out as the value it shows).
    static void Didascalia(QLabel* didascalia, QWidget* campo);
    // A label that shows a value: plain text, read out as what it shows whenever it changes.
    static void Valore(QLabel* valore);
};
