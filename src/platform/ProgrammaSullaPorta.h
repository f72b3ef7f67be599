#pragma once

#include <QString>

// Which program holds a serial device open, as /proc tells it. Only the processes whose /proc
// entries the user may read show: another terminal program, a second copy of this one; a system
// service's do not.
class ProgrammaSullaPorta {
public:
    // "minicom (pid 1234)" for the first process that has `dispositivo` open (a link is followed
    // to the real device), or the empty text when none shows.
    static QString Chi(const QString& dispositivo,
                       const QString& radiceProc = QStringLiteral("/proc"));
};
