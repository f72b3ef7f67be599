#include "CartellaDiProva.h"

#include "archive/Archivio.h"
#include "archive/CreatoreArchivio.h"

#include <QDir>
#include <QFile>

CartellaDiProva::CartellaDiProva()
    : percorso_(dir_.path()) {
    CreatoreArchivio::Crea(file(Archivio::NomeFile()), Archivio::Password());
    QFile::copy(QStringLiteral(SUONO_NOTIFICA), file(QStringLiteral("notify.wav")));
}

QString CartellaDiProva::file(const QString& nome) const {
    return QDir(percorso_).filePath(nome);
}
