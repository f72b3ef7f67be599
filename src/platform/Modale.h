#pragma once

#include <functional>

class QDialog;
class QWidget;

// Shows a window modally over its owner, which stays disabled until the window closes (other
// parts of the program look at the owner's enabled state to know that a modal window is open).
// The window itself is enabled, though Qt would disable it with its owner when it is the owner's
// child. An owner that was already disabled (a window open over it before) stays disabled.
// Returns the dialog's result.
class Modale {
public:
    static int Mostra(QDialog& finestra, QWidget* proprietario = nullptr);

    // Test hook: while installed, the window is not run; the function gets it (already shown,
    // owner disabled) and returns its result, so a test can press its buttons.
    using Esecutore = std::function<int(QDialog&)>;
    static void InstallaHook(Esecutore e);
    static void RimuoviHook();
};
