#include "Misure.h"

#include "archive/Archivio.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <algorithm>

namespace Misure {

bool LeggiOpzioni(const QStringList& argomenti, Opzioni& opzioni,
                  const std::function<bool(const QString&, const QString&)>& altra) {
    for (int i = 1; i < argomenti.size(); ++i) {
        if (i + 1 >= argomenti.size())
            return false;
        const QString& nome = argomenti[i];
        const QString& valore = argomenti[++i];
        if (nome == QLatin1String("--cartella"))
            opzioni.cartella = valore;
        else if (nome == QLatin1String("--ripetizioni"))
            opzioni.ripetizioni = std::max(1, valore.toInt());
        else if (!altra || !altra(nome, valore))
            return false;
    }
    return true;
}

double Trascorso(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

double MemoriaMb(const char* voce) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray chiave = QByteArray(voce) + ':';
    for (const QByteArray& riga : f.readAll().split('\n')) {
        if (riga.startsWith(chiave))
            return riga.mid(chiave.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

void AzzeraPicco() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double Mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

QString ChiaveCli(const QString& schema) {
    const QString prefisso = schema.isEmpty() ? QString() : schema + QLatin1Char('.');
    const QString chiave = schema.isEmpty() ? QStringLiteral("PRAGMA key = '%1';\n").arg(Archivio::Password())
                                            : QString();
    return chiave + QStringLiteral("PRAGMA %1cipher_compatibility = 3;\n").arg(prefisso);
}

double SqlcipherCli(const QString& cartella, const QString& comandi, bool attendeUscita) {
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("sqlcipher"), {QDir(cartella).filePath(Archivio::NomeFile())});
    if (!p.waitForStarted())
        return -1;
    p.write((ChiaveCli() + comandi).toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(-1);
    const double ms = Trascorso(t);
    if (attendeUscita && p.readAllStandardOutput().trimmed().isEmpty())
        return -1;
    return ms;
}

} // namespace Misure
