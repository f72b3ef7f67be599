#pragma once

#include <QObject>
#include <functional>

class QAbstractItemView;

// Enter on a list's current row does what a click on it does, for those who work from the
// keyboard; the key goes no further, so it never also presses the window's default button.
class InvioComeClic : public QObject {
    Q_OBJECT
public:
    static void Applica(QAbstractItemView* lista, std::function<void()> clic);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    InvioComeClic(QAbstractItemView* lista, std::function<void()> clic);
    QAbstractItemView* lista_;
    std::function<void()> clic_;
};
