#pragma once

#include <QObject>

class QSocketNotifier;

// The ends of the program that do not come from its window: the desktop session ending and
// SIGTERM (a shutdown, `systemctl stop`, `kill`). Both become one signal on the event loop,
// where the program closes as from File → Esci, with its closing copy.
class ChiusuraDiSistema : public QObject {
    Q_OBJECT
public:
    explicit ChiusuraDiSistema(QObject* parent = nullptr);
    ~ChiusuraDiSistema() override;

signals:
    void Richiesta();

private:
    static void gestore(int segnale);
    // The handler may only write to a descriptor: the event loop reads the other end.
    static inline int scrittura_ = -1;
    int lettura_ = -1;
    QSocketNotifier* notifica_ = nullptr;
};
