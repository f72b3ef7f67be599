#include "RegolaUdev.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString leggi(const QString& percorso) {
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).trimmed() : QString();
}

} // namespace

QString RegolaUdev::IgnoraModem(const QString& dispositivo, const QString& radiceSys) {
    const QString reale = QFileInfo(dispositivo).canonicalFilePath();
    if (!reale.startsWith(QLatin1String("/dev/")))
        return {};
    // The kernel's name of the tty, as sysfs spells it ("pts/3" is "pts!3").
    const QString nome = reale.mid(5).replace(QLatin1Char('/'), QLatin1Char('!'));
    const QString radice = QFileInfo(radiceSys).canonicalFilePath();
    const QString dispositivoSys =
        QFileInfo(radiceSys + QStringLiteral("/class/tty/") + nome + QStringLiteral("/device"))
            .canonicalFilePath();
    // From the tty's interface up to the USB device that carries the identity.
    for (QDir cartella(dispositivoSys);
         !dispositivoSys.isEmpty() && cartella.absolutePath().startsWith(radice + QLatin1Char('/'));
         cartella.setPath(QFileInfo(cartella.absolutePath()).path())) {
        const QString venditore = leggi(cartella.filePath(QStringLiteral("idVendor")));
        const QString prodotto = leggi(cartella.filePath(QStringLiteral("idProduct")));
        if (!venditore.isEmpty() && !prodotto.isEmpty())
            return QStringLiteral("ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", "
                                  "ENV{ID_MM_DEVICE_IGNORE}=\"1\"")
                .arg(venditore, prodotto);
    }
    return QStringLiteral("KERNEL==\"%1\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"").arg(reale.mid(5));
}
