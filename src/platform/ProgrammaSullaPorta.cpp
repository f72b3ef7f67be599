#include "ProgrammaSullaPorta.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ProgrammaSullaPorta::Chi(const QString& dispositivo, const QString& radiceProc) {
    const QString reale = QFileInfo(dispositivo).canonicalFilePath();
    if (reale.isEmpty())
        return {};
    const QDir proc(radiceProc);
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        bool numero = false;
        pid.toLongLong(&numero);
        if (!numero)
            continue;
        // An unreadable fd folder (another user's process) simply lists nothing.
        const QDir descrittori(proc.filePath(pid + QStringLiteral("/fd")));
        for (const QFileInfo& fd : descrittori.entryInfoList(QDir::System | QDir::Files)) {
            if (fd.symLinkTarget() != reale)
                continue;
            QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
            const QString nome = comm.open(QIODevice::ReadOnly)
                                     ? QString::fromLocal8Bit(comm.readAll()).trimmed()
                                     : QString();
            return QStringLiteral("%1 (pid %2)")
                .arg(nome.isEmpty() ? QStringLiteral("?") : nome, pid);
        }
    }
    return {};
}
