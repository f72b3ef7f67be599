#pragma once

#include <QString>

// One program at a time on a program folder: a lock on a file beside the archive, which the
// system releases when the program ends, however it ends (no stale lock to clear by hand).
class IstanzaUnica {
public:
    explicit IstanzaUnica(const QString& cartellaProgramma);
    ~IstanzaUnica();
    IstanzaUnica(const IstanzaUnica&) = delete;
    IstanzaUnica& operator=(const IstanzaUnica&) = delete;

    // False when another program holds the folder.
    bool Acquisita() const { return acquisita_; }

    static QString NomeFile() { return QStringLiteral("veltrika.lock"); }

private:
    int fd_ = -1;
    bool acquisita_ = false;
};
