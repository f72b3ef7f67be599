#pragma once

#include <QString>
#include <QStringList>

// Runs a program of the build to its end (at most a minute): its exit code, or -1 when it did
// not end normally.
int EseguiProgramma(const QString& programma, const QStringList& argomenti);
