#include "ImpostazioniBackup.h"

#include <QDir>
#include <QSettings>

namespace {
const QString kSecondaCartella = QStringLiteral("Backup/SecondaCartella");
const QString kUltimoAvviso = QStringLiteral("Backup/UltimoAvvisoCartella");
} // namespace

QString ImpostazioniBackup::CartellaPrincipale(const QString& cartellaProgramma) {
    return QDir(cartellaProgramma).filePath(QStringLiteral("Backup"));
}

ImpostazioniBackup ImpostazioniBackup::Leggi(const QString& cartellaProgramma) {
    const QSettings file(QDir(cartellaProgramma).filePath(NomeFile()), QSettings::IniFormat);
    ImpostazioniBackup i;
    i.secondaCartella = file.value(kSecondaCartella).toString().trimmed();
    i.ultimoAvvisoCartella = QDate::fromString(file.value(kUltimoAvviso).toString(), Qt::ISODate);
    return i;
}

bool ImpostazioniBackup::Scrivi(const QString& cartellaProgramma) const {
    QSettings file(QDir(cartellaProgramma).filePath(NomeFile()), QSettings::IniFormat);
    file.setValue(kSecondaCartella, secondaCartella.trimmed());
    file.setValue(kUltimoAvviso, ultimoAvvisoCartella.toString(Qt::ISODate));
    file.sync();
    return file.status() == QSettings::NoError;
}

QStringList ImpostazioniBackup::Cartelle(const QString& cartellaProgramma) const {
    QStringList cartelle{CartellaPrincipale(cartellaProgramma)};
    const QString seconda = secondaCartella.trimmed();
    if (!seconda.isEmpty() && QDir::cleanPath(QDir(cartellaProgramma).absoluteFilePath(seconda)) !=
                                  QDir::cleanPath(QDir(cartelle.first()).absolutePath()))
        cartelle << seconda;
    return cartelle;
}
