#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs a program of the build to its end (at most a minute): its exit code, or -1 when it did
// not end normally. With `uscita`, what it wrote on both channels.
int EseguiProgramma(const QString& programma, const QStringList& argomenti,
                    QByteArray* uscita = nullptr);
