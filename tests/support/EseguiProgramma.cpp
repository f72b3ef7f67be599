#include "EseguiProgramma.h"

#include <QProcess>

int EseguiProgramma(const QString& programma, const QStringList& argomenti, QByteArray* uscita) {
    QProcess p;
    if (uscita)
        p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programma, argomenti);
    const bool finito = p.waitForFinished(60000);
    if (uscita) {
        *uscita = p.readAll();
        if (p.error() != QProcess::UnknownError)
            *uscita += p.errorString().toLocal8Bit();
    }
    if (!finito)
        return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}
