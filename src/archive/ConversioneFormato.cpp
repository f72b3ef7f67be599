#include "ConversioneFormato.h"

#include "Archivio.h"
#include "ChiaveArchivio.h"
#include "ErroriArchivio.h"
#include "SqlInterno.h"
#include "platform/PermessiCondivisi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QScopeGuard>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace {

struct Connessione {
    sqlite3* db = nullptr;
    ~Connessione() { sqlite3_close_v2(db); }
};

ErroreRuntime Fallita(const QString& percorso, const QString& motivo) {
    return {ErroreRuntime::ArchivioNonApribile,
            QStringLiteral("Impossibile convertire l'archivio '%1' al formato in uso (%2); il "
                           "file è rimasto com'era.")
                .arg(percorso, motivo)};
}

QString ErroreDiSistema() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

QMap<QString, qint64> Righe(sqlite3* db) {
    QStringList tabelle;
    Istruzione elenco(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                         "name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
    while (elenco.passo())
        tabelle << elenco.colonna(0).toString();
    QMap<QString, qint64> righe;
    for (const QString& t : tabelle) {
        Istruzione conta(db, QStringLiteral("SELECT count(*) FROM %1").arg(Cita(t)));
        conta.passo();
        righe.insert(t, conta.intero(0));
    }
    return righe;
}

qint64 Valore(sqlite3* db, const QString& sql) {
    Istruzione q(db, sql);
    return q.passo() ? q.intero(0) : 0;
}

} // namespace

QString ConversioneFormato::NomeAccantonato(const QDateTime& quando) {
    return QStringLiteral("archivio-formato-4-%1.mdb")
        .arg(quando.toString(QStringLiteral("yyyy-MM-dd_HHmmss")));
}

QString ConversioneFormato::Converti(const QString& percorso, const QDateTime& adesso) {
    const QByteArray nome = QFile::encodeName(percorso);
    Connessione originale;
    if (sqlite3_open_v2(nome.constData(), &originale.db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        return {};
    sqlite3_extended_result_codes(originale.db, 1);
    sqlite3_busy_timeout(originale.db, 250);
    ChiaveArchivio::Applica(originale.db, Archivio::Password().toUtf8(),
                            ChiaveArchivio::Formato::Sqlcipher4);
    QMap<QString, qint64> righe;
    try {
        righe = Righe(originale.db);
    } catch (const ErroreRuntime& e) {
        if (e.Number() == ErroreRuntime::FormatoNonRiconosciuto)
            return {};
        throw;
    }

    // A file of that name is a conversion cut short: the original was not touched by it.
    const QString nuovo = percorso + QStringLiteral(".conversione");
    const QByteArray nomeNuovo = QFile::encodeName(nuovo);
    QFile::remove(nuovo);
    QFile::remove(nuovo + QStringLiteral("-journal"));
    const int fd = ::open(nomeNuovo.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw Fallita(percorso, ErroreDiSistema());
    PermessiCondivisi::Applica(fd, nuovo, PermessiCondivisi::Condiviso);
    ::close(fd);
    auto rimuovi = qScopeGuard([&] {
        QFile::remove(nuovo);
        QFile::remove(nuovo + QStringLiteral("-journal"));
    });

    bool verificato = false;
    try {
        const int rc = ChiaveArchivio::Attacca(originale.db, nuovo, QStringLiteral("conversione"));
        if (rc != SQLITE_OK)
            throw ErroriArchivio::DaSqlite(originale.db, rc);
        Esegui(originale.db, "SELECT sqlcipher_export('conversione')");
        // The schema's version is not part of the export.
        const qint64 versione = Valore(originale.db, QStringLiteral("PRAGMA main.user_version"));
        Esegui(originale.db,
               QByteArray("PRAGMA conversione.user_version = ") + QByteArray::number(versione));
        Esegui(originale.db, "DETACH DATABASE conversione");
        sqlite3_close_v2(originale.db);
        originale.db = nullptr;

        Connessione convertito;
        if (sqlite3_open_v2(nomeNuovo.constData(), &convertito.db, SQLITE_OPEN_READONLY,
                            nullptr) != SQLITE_OK)
            throw ErroriArchivio::DaSqlite(convertito.db, sqlite3_errcode(convertito.db));
        sqlite3_extended_result_codes(convertito.db, 1);
        ChiaveArchivio::Applica(convertito.db);
        Istruzione controllo(convertito.db, QStringLiteral("PRAGMA integrity_check"));
        verificato = controllo.passo() && controllo.colonna(0).toString() == QStringLiteral("ok") &&
                     Righe(convertito.db) == righe;
    } catch (const ErroreRuntime& e) {
        throw Fallita(percorso, e.Description());
    }
    if (!verificato)
        throw Fallita(percorso, QStringLiteral("la copia convertita non supera la verifica"));

    // The original gets its second name before the new file takes the first: at every moment
    // the archive's path holds one of the two whole.
    const QString cartella = QFileInfo(percorso).absolutePath();
    const QString base = NomeAccantonato(adesso);
    QString accantonato;
    for (int n = 1; n < 100 && accantonato.isEmpty(); ++n) {
        const QString candidato = QDir(cartella).filePath(
            n == 1 ? base : base.chopped(4) + QStringLiteral("-%1.mdb").arg(n));
        if (::link(nome.constData(), QFile::encodeName(candidato).constData()) == 0)
            accantonato = candidato;
        else if (errno != EEXIST)
            throw Fallita(percorso, ErroreDiSistema());
    }
    if (accantonato.isEmpty())
        throw Fallita(percorso, QStringLiteral("troppi archivi accantonati"));
    if (::rename(nomeNuovo.constData(), nome.constData()) != 0) {
        const QString motivo = ErroreDiSistema();
        ::unlink(QFile::encodeName(accantonato).constData());
        throw Fallita(percorso, motivo);
    }
    rimuovi.dismiss();
    const int dir = ::open(QFile::encodeName(cartella).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return accantonato;
}
