#include "EsameFile.h"

#include "ConnessioneEsterna.h"

#include <QFile>
#include <sys/stat.h>

namespace {
struct stat Stato(const QString& file) {
    struct stat st {};
    ::stat(QFile::encodeName(file).constData(), &st);
    return st;
}
} // namespace

namespace EsameFile {

ino_t Nodo(const QString& file) {
    return Stato(file).st_ino;
}

mode_t Modo(const QString& file) {
    return Stato(file).st_mode & 07777;
}

gid_t Gruppo(const QString& file) {
    return Stato(file).st_gid;
}

QByteArray Sale(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.read(16) : QByteArray();
}

bool Danneggia(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    const qint64 dimensione = f.size();
    for (qint64 pagina = dimensione * 2 / 5 / 1024 * 1024; pagina < dimensione * 3 / 5;
         pagina += 1024)
        if (!f.seek(pagina + 100) || f.write(QByteArray(200, '\x5a')) != 200)
            return false;
    return true;
}

bool IndiceDiscorde(const QString& archivio) {
    ConnessioneEsterna c(archivio);
    return c.esegui("INSERT INTO Clienti (T1Numero, T1Nome) VALUES ('3331112222', 'Rossi'), "
                    "('3479990000', 'Bianchi')") == 0 &&
           c.esegui("PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = 'CREATE UNIQUE "
                    "INDEX Clienti_T1Numero ON Clienti (T1Nome)' WHERE name = "
                    "'Clienti_T1Numero'") == 0;
}

bool RiempiSms(const QString& archivio, int quante, const char* testo) {
    const QByteArray sql =
        QByteArray("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ") +
        QByteArray::number(quante) +
        ") INSERT INTO SMS (T4Numero, T4DataArrivo, T4OrarioArrivo, T4TestoSmsRicevuto) SELECT "
        "'333' || i, '01/12/26', '10:00:00', printf('" +
        testo + " %07d: due margherite, una diavola e un calzone', i) FROM n";
    return ConnessioneEsterna(archivio).esegui(sql.constData()) == 0;
}

QString ContenutoSms(const QString& archivio) {
    return ConnessioneEsterna(archivio)
        .valore("SELECT count(*) || ':' || min(T4TestoSmsRicevuto) || ':' || "
                "max(T4TestoSmsRicevuto) FROM SMS")
        .toString();
}

} // namespace EsameFile
