#pragma once

#include <QObject>
#include <QSet>

// While a modal window is open, a key held down since before it opened does nothing in it: its
// auto-repeated presses are dropped, so that holding Enter on a list never answers the window the
// key opened. A key pressed inside the window repeats as usual.
class TastiTenuti : public QObject {
    Q_OBJECT
public:
    // Watches every key of the application for as long as the object lives.
    TastiTenuti();
    ~TastiTenuti() override;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    QSet<int> premutiQui_;
};
