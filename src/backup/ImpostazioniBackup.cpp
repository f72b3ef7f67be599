#include "ImpostazioniBackup.h"

#include "platform/PermessiCondivisi.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <unistd.h>

namespace {
const QString kSecondaCartella = QStringLiteral("Backup/SecondaCartella");
const QString kUltimoAvviso = QStringLiteral("Backup/UltimoAvvisoCartella");
const QString kUltimoAvvisoSpazio = QStringLiteral("Backup/UltimoAvvisoSpazio");
const QString kInstallazione = QStringLiteral("Backup/Installazione");
const QString kUltimoControllo = QStringLiteral("Backup/UltimoControlloCompleto");
} // namespace

QString ImpostazioniBackup::CartellaPrincipale(const QString& cartellaProgramma) {
    return QDir(cartellaProgramma).filePath(QStringLiteral("Backup"));
}

ImpostazioniBackup ImpostazioniBackup::Leggi(const QString& cartellaProgramma) {
    const QSettings file(QDir(cartellaProgramma).filePath(NomeFile()), QSettings::IniFormat);
    ImpostazioniBackup i;
    i.secondaCartella = file.value(kSecondaCartella).toString().trimmed();
    i.installazione = file.value(kInstallazione).toString().trimmed();
    if (!EInstallazione(i.installazione))
        i.installazione = InstallazionePredefinita();
    i.ultimoAvvisoCartella = QDate::fromString(file.value(kUltimoAvviso).toString(), Qt::ISODate);
    i.ultimoAvvisoSpazio =
        QDate::fromString(file.value(kUltimoAvvisoSpazio).toString(), Qt::ISODate);
    i.ultimoControlloCompleto =
        QDate::fromString(file.value(kUltimoControllo).toString(), Qt::ISODate);
    return i;
}

bool ImpostazioniBackup::Scrivi(const QString& cartellaProgramma) const {
    // The text is made aside, then put in place as a whole.
    QByteArray testo;
    {
        QTemporaryDir appoggio;
        const QString bozza = appoggio.filePath(NomeFile());
        {
            QSettings file(bozza, QSettings::IniFormat);
            file.setValue(kSecondaCartella, secondaCartella.trimmed());
            file.setValue(kInstallazione, installazione);
            file.setValue(kUltimoAvviso, ultimoAvvisoCartella.toString(Qt::ISODate));
            file.setValue(kUltimoAvvisoSpazio, ultimoAvvisoSpazio.toString(Qt::ISODate));
            file.setValue(kUltimoControllo, ultimoControlloCompleto.toString(Qt::ISODate));
            file.sync();
            if (!appoggio.isValid() || file.status() != QSettings::NoError)
                return false;
        }
        QFile letto(bozza);
        if (!letto.open(QIODevice::ReadOnly))
            return false;
        testo = letto.readAll();
    }
    const QString percorso = QDir(cartellaProgramma).filePath(NomeFile());
    QSaveFile nuovo(percorso);
    if (nuovo.open(QIODevice::WriteOnly) && nuovo.write(testo) == testo.size() && nuovo.commit()) {
        PermessiCondivisi::Applica(percorso, PermessiCondivisi::Condiviso);
        return true;
    }
    // In the installed folder (sticky) only the file's owner may replace it; the other users
    // of the shop's group may still write into it.
    QFile file(percorso);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(testo) == testo.size() && file.flush() && ::fsync(file.handle()) == 0;
}

QStringList ImpostazioniBackup::Cartelle(const QString& cartellaProgramma) const {
    QStringList cartelle{CartellaPrincipale(cartellaProgramma)};
    const QString seconda = secondaCartella.trimmed();
    if (!seconda.isEmpty() && QDir::cleanPath(QDir(cartellaProgramma).absoluteFilePath(seconda)) !=
                                  QDir::cleanPath(QDir(cartelle.first()).absolutePath()))
        cartelle << CartellaSeconda();
    return cartelle;
}

QString ImpostazioniBackup::CartellaSeconda() const {
    const QString seconda = secondaCartella.trimmed();
    return seconda.isEmpty() ? QString() : QDir(seconda).filePath(installazione);
}

QString ImpostazioniBackup::InstallazionePredefinita() {
    QString nome = QSysInfo::machineHostName();
    nome.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")), QStringLiteral("_"));
    return PrefissoInstallazione() + (nome.isEmpty() ? QStringLiteral("cassa") : nome);
}
