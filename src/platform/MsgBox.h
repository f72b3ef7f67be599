#pragma once

#include "StiliMessaggio.h"

#include <QString>
#include <functional>

class QWidget;

struct MessaggioMostrato {
    QString prompt;
    int style = 0;
    QString title;
    // The window the box belongs to (only to compare: it may be gone by the time one looks).
    QWidget* proprietario = nullptr;
};

// Shows the box (modal) and returns the answer code. The title defaults to the program's name.
// The box belongs to `proprietario`, the window that asks; without one, to the active window,
// which may be any window that happens to be in front (the arrival notice, say).
int MsgBox(const QString& prompt, int style = 0, const QString& title = QString(),
           QWidget* proprietario = nullptr);

// Test hook: while installed, no box is shown; the function receives what would have been shown
// and returns the answer.
class MsgBoxHook {
public:
    using Risponditore = std::function<int(const MessaggioMostrato&)>;
    static void Installa(Risponditore r);
    static void Rimuovi();
    static bool Installato();
};
