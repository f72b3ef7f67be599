#pragma once

#include "StiliMessaggio.h"

#include <QString>
#include <functional>

struct MessaggioMostrato {
    QString prompt;
    int style = 0;
    QString title;
};

// Shows the box (modal) and returns the answer code. The title defaults to the program's name.
int MsgBox(const QString& prompt, int style = 0, const QString& title = QString());

// Test hook: while installed, no box is shown; the function receives what would have been shown
// and returns the answer.
class MsgBoxHook {
public:
    using Risponditore = std::function<int(const MessaggioMostrato&)>;
    static void Installa(Risponditore r);
    static void Rimuovi();
    static bool Installato();
};
