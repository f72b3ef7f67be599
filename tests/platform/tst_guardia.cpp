#include "CopioneMessaggi.h"
#include "platform/ErroreRuntime.h"
#include "platform/Guardia.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

namespace {
void recordBloccato() {
    throw ErroreRuntime(ErroreRuntime::RecordBloccato, QStringLiteral("Record bloccato"));
}
} // namespace

class TstGuardia : public QObject {
    Q_OBJECT
private slots:
    // A timer failing at every tick: one critical box of the guard's window, even while the box
    // is open and the timer ticks on in its event loop; shown again only once an action has gone
    // well in between.
    void unErroreSiMostraUnaVoltaFinoAUnSuccesso() {
        QWidget finestra;
        Guardia guardia(&finestra);
        QList<MessaggioMostrato> mostrati;
        bool aperto = false;
        MsgBoxHook::Installa([&](const MessaggioMostrato& m) {
            mostrati.append(m);
            if (!aperto) { // a tick while the box is open
                aperto = true;
                guardia.Esegui(recordBloccato);
                aperto = false;
            }
            return Risposta::Ok;
        });
        QTimer timer;
        timer.setInterval(0);
        int tick = 0;
        connect(&timer, &QTimer::timeout, &finestra, guardia.Proteggi([&] {
            ++tick;
            recordBloccato();
        }));
        timer.start();
        QTRY_VERIFY(tick >= 5);
        timer.stop();
        QCOMPARE(mostrati.size(), 1);
        QCOMPARE(mostrati[0].prompt, QStringLiteral("Record bloccato / 3218"));
        QCOMPARE(mostrati[0].style, Stile::Critico);
        QCOMPARE(mostrati[0].proprietario, &finestra);

        // Another failure is news; the first one is still known.
        QVERIFY(!guardia.Esegui([] {
            throw ErroreRuntime(ErroreRuntime::ChiaveDuplicata, QStringLiteral("Chiave duplicata"));
        }));
        QVERIFY(!guardia.Esegui(recordBloccato));
        QCOMPARE(mostrati.size(), 2);
        QCOMPARE(mostrati[1].prompt, QStringLiteral("Chiave duplicata / 3022"));

        QVERIFY(guardia.Esegui([] {}));
        QVERIFY(!guardia.Esegui(recordBloccato));
        MsgBoxHook::Rimuovi();
        QCOMPARE(mostrati.size(), 3);
        QCOMPARE(mostrati[2].prompt, QStringLiteral("Record bloccato / 3218"));
    }

    // Whatever a handler throws becomes a box, and the next handler runs.
    void ogniEccezioneDiventaUnMessaggio() {
        QWidget finestra;
        Guardia guardia(&finestra);
        CopioneMessaggi copione;
        QPushButton pulsante(QStringLiteral("Stampa"), &finestra);
        pulsante.setCheckable(true);
        int eccezione = 0;
        QList<bool> spuntature;
        connect(&pulsante, &QPushButton::clicked, &finestra, guardia.Proteggi([&] {
            switch (eccezione++) {
            case 0:
                throw std::bad_alloc();
            case 1:
                throw std::runtime_error("disco pieno");
            default:
                throw 42;
            }
        }));
        // A handler that takes the signal's argument gets it.
        connect(&pulsante, &QPushButton::clicked, &finestra,
                guardia.Proteggi([&](bool spuntato) { spuntature.append(spuntato); }));
        for (int n = 0; n < 3; ++n)
            pulsante.click();
        QCOMPARE(copione.testi(), (QStringList{QStringLiteral("Memoria esaurita / 7"),
                                               QStringLiteral("disco pieno / 51"),
                                               QStringLiteral("Errore interno / 51")}));
        for (const auto& m : copione.mostrati())
            QCOMPARE(m.style, Stile::Critico);
        QCOMPARE(spuntature, (QList<bool>{true, false, true}));
    }
};

QTEST_MAIN(TstGuardia)
#include "tst_guardia.moc"
