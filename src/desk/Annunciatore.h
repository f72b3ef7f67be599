#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>

struct ImpostazioniAttivita;
struct StatoGlobale;
class FormMsgBox1;
class ModulofnStampa;
class QWidget;

// The arrival notice and the automatic printing. It keeps the ids of the records still to be
// announced, in the order they were stored; each is read from the archive when its turn comes,
// so what is shown and printed is the record as it stands then, whatever the pending list did
// meanwhile (rebuilt, rows gone, parts joined). One notice at a time: "Ok" lets the next come.
class Annunciatore : public QObject {
    Q_OBJECT
public:
    // The notice belongs to `finestra`; nothing is announced while `finestra` is disabled (a
    // window is open modally over it). Each notice is printed too when `impostazioni` say so.
    Annunciatore(StatoGlobale& stato, const ImpostazioniAttivita& impostazioni,
                 ModulofnStampa& stampa, QWidget* finestra);
    ~Annunciatore() override;

    // A record stored, or completed by a late part, is to be announced; one already waiting
    // keeps its turn and is not announced twice.
    void Accoda(qint64 id);
    // The record left the list before its turn.
    void Ritira(qint64 id);
    // A scan of the SIM ended: what it stored is announced from the next step on.
    void ScansioneConclusa();
    // The main timer's step: the next record waiting, when the notice is free.
    void Passo();
    // What was waiting belongs to an archive that went away.
    void Svuota();

    const QVector<qint64>& InAttesa() const { return coda_; }
    // The notice may show the next record (set by its "Ok", by the end of a scan).
    bool Pronto() const { return pronto_; }
    // The notice, null while not loaded.
    FormMsgBox1* Avviso() const;

private:
    StatoGlobale& stato_;
    const ImpostazioniAttivita& impostazioni_;
    ModulofnStampa& stampa_;
    QWidget* finestra_;
    QVector<qint64> coda_;
    bool pronto_ = false;
    QPointer<FormMsgBox1> avviso_;
};
