#pragma once

#include <QStringList>

class QWidget;

// What a keyboard user and a screen reader meet in an open window, as a list of faults (empty
// when the window is fine):
// - every control that takes the focus has a spoken name;
// - every label is read out as what it shows, now (a value label kept in step with its value),
//   and a label showing markup shows it as plain text;
// - Tab, pressed from the control that has the focus, reaches every enabled input and comes
//   back, without being swallowed on the way.
// The window must be shown and active.
QStringList DifettiAccessibilita(QWidget* finestra);
