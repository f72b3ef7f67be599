#pragma once

#include <QDateTime>
#include <QString>

// An archive written in SQLCipher 4's own format (by a build on a newer system before the
// format was pinned, see ChiaveArchivio) is made readable again, once: it is exported into a
// new file in the pinned format, the new file is checked (integrity and the rows of every
// table), the original is kept beside it under a name of its own and the new file takes its
// place. The archive's path never lacks a file meanwhile.
class ConversioneFormato {
public:
    // The name the original is kept under.
    static QString NomeAccantonato(const QDateTime& quando);

    // Converts `percorso` when SQLCipher 4's defaults open it and returns the path the original
    // is kept under; returns an empty string, changing nothing, when they do not open it either.
    // Throws ErroreRuntime when the file opened but could not be converted: it is then as it was.
    static QString Converti(const QString& percorso, const QDateTime& adesso);
};
