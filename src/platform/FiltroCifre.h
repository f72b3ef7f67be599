#pragma once

#include <QObject>

class QWidget;

// The key filter of the numeric boxes: digits, "." and backspace are typed; any other typed
// character is dropped. Keys that type nothing (arrows, Delete) go through. Pasting is not a
// key: what is pasted reaches the box, and the routine that reads it decides.
class FiltroCifre : public QObject {
    Q_OBJECT
public:
    // Filters the box's keys for as long as the box lives.
    static void Applica(QWidget* casella);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    using QObject::QObject;
};
