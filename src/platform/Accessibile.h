#pragma once

#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

// Screen readers and automated checks find a control by what it says: its accessible name is
// its caption, and stays so when the caption changes.
class Accessibile {
public:
    // The caption and the accessible name, together.
    static void Testo(QLabel* etichetta, const QString& testo);
    static void Testo(QAbstractButton* pulsante, const QString& testo);
    // Every label and button of the window named by its caption as it stands.
    static void NominaDaTesto(QWidget* finestra);
};
