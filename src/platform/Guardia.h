#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <concepts>
#include <functional>
#include <utility>

// Keeps every exception inside the Qt slot or event handler it runs (a timer tick, a button, a
// list click): Qt cannot carry an exception through its event loop. A failure is shown in a
// critical box of the window the guard serves, as its description and number ("Record bloccato
// / 3218"), and the program goes on.
//
// Each failure is shown once: the same failure again (same number, same description) stays
// silent until an action through this guard succeeds, so a timer that fails at every tick
// shows one box, not one per tick, even while that box is open and the timer keeps ticking.
//
// A window keeps its guard as a member and connects its handlers through it:
//     connect(Command1[0], &QPushButton::clicked, this, guardia_.Proteggi([this] { ... }));
// The guard must outlive those connections.
class Guardia {
public:
    explicit Guardia(QWidget* finestra);

    // Runs the handler; false when it failed (and the failure was reported or already known).
    bool Esegui(const std::function<void()>& azione);

    // `f` wrapped for connect(): the signal's arguments, as many of them as `f` takes, reach it
    // through Esegui.
    template <class F> auto Proteggi(F f) {
        return [ this, f = std::move(f) ](
            auto&&... argomenti) requires std::invocable<const F&, decltype(argomenti)...> {
            Esegui([&] { std::invoke(f, std::forward<decltype(argomenti)>(argomenti)...); });
        };
    }

private:
    void segnala(int numero, const QString& descrizione);

    QPointer<QWidget> finestra_;
    // The failures shown since the last action that succeeded.
    QList<std::pair<int, QString>> mostrati_;
};
