#pragma once

#include <QString>
#include <functional>

class Archivio;

// The copy taken before an archive's schema changes: the same checked copy as the automatic
// ones, into the same folders, but whole before the opening goes on, with the full check.
class CopiaAggiornamento {
public:
    // Throws ErroreRuntime with what went wrong when the program's folder did not get a good
    // copy; a further folder that cannot be reached does not stop it.
    static void Esegui(Archivio& archivio, const QString& cartellaProgramma);
    // What Archivio::copiaPrimaDiAggiornare is set to for the archive of `cartellaProgramma`.
    static std::function<void(Archivio&)> Per(const QString& cartellaProgramma);
};
