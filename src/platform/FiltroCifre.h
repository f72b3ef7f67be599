#pragma once

#include <QObject>

class QWidget;

// The key filter of the numeric boxes: digits and "." are typed; any other printable character
// is dropped. Keys that print nothing (Tab and Backtab, Enter, Esc, Backspace, Delete, arrows,
// Home, End) and shortcuts (Ctrl, Alt) go through, so the box can be left and edited from the
// keyboard. Pasting is not a key: what is pasted reaches the box, and the routine that reads it
// decides.
class FiltroCifre : public QObject {
    Q_OBJECT
public:
    // Filters the box's keys for as long as the box lives.
    static void Applica(QWidget* casella);
    // Whether a key with this text and these modifiers reaches the box.
    static bool Ammesso(const QString& testo, Qt::KeyboardModifiers modificatori);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    using QObject::QObject;
};
