#include "PorteCom.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

QStringList dispositiviDellaFamiglia(const QDir& dev, const QString& prefisso) {
    QStringList nomi = dev.entryList({prefisso + QLatin1Char('*')}, QDir::System | QDir::Files);
    // Only the numbered devices of the family, in numeric order (ttyS2 before ttyS10).
    nomi.erase(std::remove_if(nomi.begin(), nomi.end(),
                              [&](const QString& n) {
                                  bool ok = false;
                                  n.mid(prefisso.size()).toInt(&ok);
                                  return !ok;
                              }),
               nomi.end());
    std::sort(nomi.begin(), nomi.end(), [&](const QString& a, const QString& b) {
        return a.mid(prefisso.size()).toInt() < b.mid(prefisso.size()).toInt();
    });
    for (QString& n : nomi)
        n = dev.filePath(n);
    return nomi;
}

} // namespace

QString PorteCom::Dispositivo(const QString& cartellaProgramma, int numero,
                              const QString& cartellaDispositivi) {
    if (numero < 1)
        return {};
    const QDir porte(QDir(cartellaProgramma).filePath(QStringLiteral("porte")));
    if (ConCollegamenti(cartellaProgramma)) {
        for (const QString& nome : {QStringLiteral("COM%1"), QStringLiteral("com%1")}) {
            const QFileInfo collegamento(porte.filePath(nome.arg(numero)));
            // A link whose device has gone (a simulator that ended) is a port that does not exist.
            if (collegamento.isSymLink() && QFileInfo::exists(collegamento.symLinkTarget()))
                return collegamento.symLinkTarget();
        }
        return {};
    }
    const QDir dev(cartellaDispositivi);
    QStringList tutti;
    for (const char* famiglia : {"ttyUSB", "ttyACM", "ttyS"})
        tutti += dispositiviDellaFamiglia(dev, QString::fromLatin1(famiglia));
    return numero <= tutti.size() ? tutti.at(numero - 1) : QString();
}

bool PorteCom::ConCollegamenti(const QString& cartellaProgramma) {
    return QDir(QDir(cartellaProgramma).filePath(QStringLiteral("porte"))).exists();
}

QStringList PorteCom::NomiStabili(const QString& dispositivo, const QString& cartellaDispositivi) {
    const QString reale = QFileInfo(dispositivo).canonicalFilePath();
    const QDir perId(QDir(cartellaDispositivi).filePath(QStringLiteral("serial/by-id")));
    QStringList nomi;
    for (const QFileInfo& link : perId.entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
        if (!reale.isEmpty() && link.canonicalFilePath() == reale)
            nomi << link.absoluteFilePath();
    }
    return nomi;
}
