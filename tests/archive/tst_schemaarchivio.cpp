#include "CartellaDiProva.h"
#include "archive/Archivio.h"
#include "archive/ChiaveArchivio.h"
#include "archive/Schema.h"
#include "archive/SchemaArchivio.h"
#include "backup/CopiaAggiornamento.h"
#include "backup/ImpostazioniBackup.h"
#include "backup/VerificaCopia.h"
#include "platform/ErroreRuntime.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

namespace {

// The archive's file as another program reads it, keyed as the program keys it.
class File {
public:
    explicit File(const QString& percorso) {
        sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        ChiaveArchivio::Applica(db_);
    }
    ~File() { sqlite3_close_v2(db_); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    void esegui(const QByteArray& sql) {
        char* errore = nullptr;
        if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, &errore) != SQLITE_OK)
            QFAIL(errore);
    }
    // Each row as its columns joined by '|'.
    QStringList righe(const QString& sql) {
        QStringList righe;
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &s, nullptr) != SQLITE_OK)
            return {QStringLiteral("errore: ") + QString::fromUtf8(sqlite3_errmsg(db_))};
        while (sqlite3_step(s) == SQLITE_ROW) {
            QStringList colonne;
            for (int i = 0; i < sqlite3_column_count(s); ++i)
                colonne << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(s, i)));
            righe << colonne.join(QLatin1Char('|'));
        }
        sqlite3_finalize(s);
        return righe;
    }
    // The catalogue, spacing aside, and every table's columns as the engine describes them.
    QStringList schema() {
        QStringList schema;
        for (QString riga : righe(QStringLiteral("SELECT type, name, tbl_name, sql FROM "
                                                 "sqlite_master ORDER BY type, name")))
            schema << riga.remove(QRegularExpression(QStringLiteral("\\s+")));
        for (const QString& t : righe(QStringLiteral(
                 "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")))
            for (const QString& c : righe(QStringLiteral("PRAGMA table_info(%1)").arg(t)))
                schema << t + QLatin1Char(':') + c;
        return schema;
    }

private:
    sqlite3* db_ = nullptr;
};

// An archive as the first release made it, from its own schema text, with a shop's rows: the
// pending orders hold a gap where one was handled.
void PrimaVersione(const QString& percorso) {
    QFile sql(QStringLiteral(ARCHIVIO_PRIMA_VERSIONE));
    QVERIFY(sql.open(QIODevice::ReadOnly));
    File f(percorso);
    f.esegui(sql.readAll());
    f.esegui("INSERT INTO Clienti (T1Numero, T1Nome, T1Eliminato) VALUES "
             "('3331112222', 'Rossi Mario', 0), ('3334445555', 'Bianchi Anna', 1);"
             "INSERT INTO SmsTemporanei VALUES "
             "('3331112222', '07/03/24', '10:15:00', '', '', 'Due pizze', 0),"
             "('3334445555', '07/03/24', '10:16:00', '', '', 'Un calzone', 1),"
             "('3339990000', '07/03/24', '10:17:00', '10:17:04', '', 'Tre birre', 0);"
             "DELETE FROM SmsTemporanei WHERE rowid = 2;"
             "INSERT INTO SMS (T4Numero, T4DataArrivo, T4OrarioArrivo, T4TestoSmsRicevuto) "
             "VALUES ('3334445555', '06/03/24', '19:00:00', 'Una margherita');"
             "UPDATE Impostazioni SET NomeAttivita = 'Pizzeria', ModStampa = 1;"
             "INSERT INTO DatiGestoreSim (GestoreSim, Operativo, TelCredito, CreditoSim) "
             "VALUES ('Operatore', 1, '404', '5,00');");
}

// Every row of the first release's tables, by rowid, in the first release's columns.
QStringList Righe(File& f) {
    QStringList righe;
    for (const SchemaArchivio::Tabella& t :
         SchemaArchivio::Tabelle(SchemaArchivio::VersionePrimaConsegna))
        for (const QString& r : f.righe(QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                                            .arg(t.campi.join(QLatin1Char(',')), t.nome)))
            righe << t.nome + QLatin1Char(':') + r;
    return righe;
}

// The newest pending order made current.
Recordset& UltimoOrdine(Archivio& a) {
    Recordset& rs = a.ApriTabella(Tabella::SmsTemporanei);
    qint64 ultimo = 0;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        ultimo = rs.Rowid();
    rs.Posiziona(ultimo);
    return rs;
}

int AggiungiOrdine(Archivio& a, const QString& testo) {
    Recordset& rs = a.ApriTabella(Tabella::SmsTemporanei);
    rs.AddNew();
    rs.Imposta(Campo::T3Numero, QStringLiteral("3331112222"));
    rs.Imposta(Campo::T3TestoSmsRicevuto, testo);
    rs.Update();
    return int(UltimoOrdine(a).Intero(Campo::T3IdSms));
}

QString Errore(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErroreRuntime& e) {
        return e.Description();
    }
    return {};
}

} // namespace

class TstSchemaArchivio : public QObject {
    Q_OBJECT
private slots:
    // A first-release archive opens with every step, the schema of a new one, and every row;
    // a checked copy of it as it was is taken first.
    void laPrimaVersioneDiventaComeUnArchivioNuovo() {
        CartellaDiProva nuovo;
        QTemporaryDir cartella;
        const QString percorso = QDir(cartella.path()).filePath(Archivio::NomeFile());
        PrimaVersione(percorso);
        QStringList prima;
        {
            File f(percorso);
            prima = Righe(f);
        }

        Archivio a;
        a.copiaPrimaDiAggiornare = CopiaAggiornamento::Per(cartella.path());
        a.ApriArchivio(cartella.path());

        File f(percorso);
        QCOMPARE(f.schema(), File(nuovo.file(Archivio::NomeFile())).schema());
        QCOMPARE(f.righe("PRAGMA user_version"),
                 QStringList{QString::number(SchemaArchivio::Versione())});
        QCOMPARE(Righe(f), prima);
        // The pending orders keep their rowids, now their keys.
        QCOMPARE(f.righe("SELECT T3IdSms FROM SmsTemporanei"), (QStringList{"1", "3"}));

        const QDir copie(ImpostazioniBackup::CartellaPrincipale(cartella.path()));
        const QStringList fatte = copie.entryList({QStringLiteral("*.mdb")}, QDir::Files);
        QCOMPARE(fatte.size(), 1);
        const VerificaCopia::Esito copia = VerificaCopia::Verifica(copie.filePath(fatte[0]));
        QVERIFY2(copia.valida, qPrintable(copia.messaggio));
        QCOMPARE(copia.righe.value(Tabella::SmsTemporanei), 2);
        QVERIFY(!copia.righe.contains(Tabella::SmsParti));

        // The newest order handled and gone: the next one does not take its number.
        UltimoOrdine(a).Delete();
        QCOMPARE(AggiungiOrdine(a, QStringLiteral("Quattro")), 4);
    }

    // A new order's id is new even when the newest order was deleted before it came.
    void unIdDiOrdineNonSiRipete() {
        CartellaDiProva c;
        Archivio a;
        a.ApriArchivio(c.percorso());
        QCOMPARE(AggiungiOrdine(a, QStringLiteral("Primo")), 1);
        QCOMPARE(AggiungiOrdine(a, QStringLiteral("Secondo")), 2);
        UltimoOrdine(a).Delete();
        QCOMPARE(AggiungiOrdine(a, QStringLiteral("Terzo")), 3);
    }

    // Without a copy, or when a step fails, the file stays as it was and the archive closed.
    void senzaCopiaOConUnPassoFallitoNienteCambia() {
        QTemporaryDir cartella;
        const QString percorso = QDir(cartella.path()).filePath(Archivio::NomeFile());
        PrimaVersione(percorso);
        // The last step meets a name it needs taken: the steps before it are undone too.
        File(percorso).esegui("CREATE TABLE SmsTemporanei_vecchia (x)");
        const QStringList schema = File(percorso).schema();
        Archivio a;

        QString errore = Errore([&] { a.ApriArchivio(cartella.path()); });
        QVERIFY2(errore.contains(QLatin1String("copia di sicurezza")), qPrintable(errore));
        QVERIFY(errore.contains(QStringLiteral("non è stato modificato")));
        QVERIFY(!a.Caricato());
        QCOMPARE(File(percorso).schema(), schema);

        a.copiaPrimaDiAggiornare = CopiaAggiornamento::Per(cartella.path());
        errore = Errore([&] { a.ApriArchivio(cartella.path()); });
        QVERIFY2(
            errore.contains(
                QStringLiteral("il passo %1 di %1 non è riuscito").arg(SchemaArchivio::Versione())),
            qPrintable(errore));
        QVERIFY(!a.Caricato());
        QCOMPARE(File(percorso).schema(), schema);
        QCOMPARE(File(percorso).righe("PRAGMA user_version"), QStringList{"0"});
    }

    // An archive a later program brought further is not opened: this one cannot know its steps.
    void unArchivioPiuRecenteNonSiApre() {
        CartellaDiProva c;
        File(c.file(Archivio::NomeFile()))
            .esegui(QStringLiteral("PRAGMA user_version = %1")
                        .arg(SchemaArchivio::Versione() + 1)
                        .toUtf8());
        Archivio a;
        QVERIFY(Errore([&] {
                    a.ApriArchivio(c.percorso());
                }).contains(QStringLiteral("versione più recente")));
        QVERIFY(!a.Caricato());
    }
};

QTEST_GUILESS_MAIN(TstSchemaArchivio)
#include "tst_schemaarchivio.moc"
