#pragma once

#include <QString>

// A Linux pseudo-terminal standing in for a serial device: the program opens the slave side
// through a symbolic link (such as porte/COM1), the simulator reads and writes the master side.
// The slave is held open for the whole life of the object, so the program may close and reopen
// its port without the master ever seeing a hang-up, and the line stays raw in between.
class PseudoTerminale {
public:
    PseudoTerminale() = default;
    ~PseudoTerminale();
    PseudoTerminale(const PseudoTerminale&) = delete;
    PseudoTerminale& operator=(const PseudoTerminale&) = delete;

    // Opens a raw, non-blocking pseudo-terminal and, when a path is given, links it there (the
    // folder is made if missing; an existing symbolic link is replaced, a file or folder never).
    bool apri(const QString& percorsoCollegamento, QString* errore);
    // Closes it and removes the link, if the link is still ours.
    void chiudi();

    int master() const { return master_; }
    QString dispositivo() const { return dispositivo_; }
    QString collegamento() const { return collegamento_; }

private:
    int master_ = -1;
    int slaveTenuto_ = -1;
    QString dispositivo_;
    QString collegamento_;
};
