#pragma once

#include "CopiaArchivio.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class Archivio;

// The copies the program takes by itself: one as soon as the archive is open, one a day while
// the program runs, one at the closing, and the ones the user asks for. The copy advances on a
// timer of its own in short steps, so the main timer, the reception and the printing go on
// meanwhile. Failures are told through Avviso; a further folder that cannot be reached is told
// once a day, and the copy still goes to the program's folder.
class BackupAutomatico : public QObject {
    Q_OBJECT
public:
    BackupAutomatico(Archivio& archivio, QString cartellaProgramma, QObject* parent = nullptr);
    ~BackupAutomatico() override;

    // The work each step of the copy may take, and how often a step starts: the windows have
    // the rest of each interval.
    static constexpr int PassoMs = 16;
    static constexpr int PausaMs = 20;
    // How often an idle program looks whether a copy is due.
    static constexpr int ControlloMs = 30000;
    // After a failed copy, the next one comes this much later rather than the next day.
    static constexpr int RipresaSecondi = 3600;
    // How often a copy gets the full check, which tells of the archive itself: routine copies
    // get the quick one.
    static constexpr int GiorniControlloCompleto = 7;
    // How long the closing waits for its copy, at most: a hung network share or a huge archive
    // never keeps the program from ending.
    static constexpr std::chrono::seconds LimiteChiusura{30};

    // The archive is open: the first copy starts now, the next one a day after.
    void Avvia();
    // A copy now, outside the daily round; false when one is already under way.
    bool CopiaOra();
    // Abandons any copy under way and stops until Avvia (the archive is about to be replaced).
    void Sospendi();
    // The copy of the closing, to the end or to LimiteChiusura: abandons one under way first.
    // Returns its outcome;
    // what went wrong is told through Avviso before it returns.
    QList<CopiaArchivio::EsitoCartella> CopiaDiChiusura();
    bool InCorso() const { return copia_ != nullptr; }
    const QDateTime& ProssimaCopia() const { return prossima_; }

    // One step: starts a copy that is due, or advances the one under way.
    void Passo();

    // The clock; a test sets it.
    std::function<QDateTime()> Adesso = [] { return QDateTime::currentDateTime(); };

signals:
    // A copy has ended, well or not.
    void CopiaConclusa(const QList<CopiaArchivio::EsitoCartella>& esiti);
    // What the user must be told.
    void Avviso(const QString& testo);

private:
    void inizia();
    void concludi();
    // Which check the next copy gets: the full one when a week has gone without it.
    VerificaCopia::Controllo controlloDovuto() const;
    // Tells what went wrong in a copy, the missing further folder once a day.
    void avvisa(const QList<CopiaArchivio::EsitoCartella>& esiti);

    Archivio& archivio_;
    const QString cartellaProgramma_;
    std::unique_ptr<CopiaArchivio> copia_;
    VerificaCopia::Controllo controllo_ = VerificaCopia::Controllo::Rapido;
    QDateTime prossima_;
    bool attivo_ = false;
    QTimer timer_;
};
