#pragma once

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <future>
#include <optional>
#include <thread>

// Work on a folder that may be a network share that hangs (the second folder of the copies):
// done on a thread of its own and waited for at most a time-out, while the event loop runs the
// timers (the main timer stores the orders meanwhile) but holds the user's input back. A thread
// that does not end in time is left to end by itself: it owns everything it works on.
class CartellaConTempo {
public:
    static constexpr std::chrono::milliseconds Limite{3000};

    // What `lavoro` returns, or nothing when it did not end within `limite`.
    template <typename Lavoro>
    static auto Esegui(Lavoro lavoro, std::chrono::milliseconds limite = Limite)
        -> std::optional<decltype(lavoro())> {
        using Risultato = decltype(lavoro());
        std::packaged_task<Risultato()> compito(std::move(lavoro));
        std::future<Risultato> futuro = compito.get_future();
        std::thread(std::move(compito)).detach();
        const auto scadenza = std::chrono::steady_clock::now() + limite;
        QEventLoop attesa;
        QTimer controllo;
        QObject::connect(&controllo, &QTimer::timeout, &attesa, [&] {
            if (futuro.wait_for(std::chrono::seconds(0)) == std::future_status::ready ||
                std::chrono::steady_clock::now() >= scadenza)
                attesa.quit();
        });
        if (futuro.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
            controllo.start(10);
            attesa.exec(QEventLoop::ExcludeUserInputEvents);
        }
        if (futuro.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return std::nullopt;
        return futuro.get();
    }
};
