#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "archive/Archivio.h"
#include "archive/CreatoreArchivio.h"
#include "archive/Schema.h"
#include "archive/SchemaArchivio.h"
#include "platform/ErroreRuntime.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int numeroErrore(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErroreRuntime& e) {
        return e.Number();
    }
    return 0;
}

void aggiungiCliente(Recordset& rs, const QString& numero, const QString& nome) {
    rs.AddNew();
    rs.Imposta(QStringLiteral("T1Numero"), numero);
    rs.Imposta(QStringLiteral("T1Nome"), nome);
    rs.Imposta(QStringLiteral("T1Eliminato"), false);
    rs.Update();
}

void aggiungiInAttesa(Recordset& rs, const QString& numero, const QString& testo) {
    rs.AddNew();
    rs.Imposta(QStringLiteral("T3Numero"), numero);
    rs.Imposta(QStringLiteral("T3DataArrivo"), QStringLiteral("07/03/24"));
    rs.Imposta(QStringLiteral("T3OrarioArrivo"), QStringLiteral("10:15:00"));
    rs.Imposta(QStringLiteral("T3TestoSmsRicevuto"), testo);
    rs.Imposta(QStringLiteral("T3Gestito"), false);
    rs.Update();
}

QStringList percorri(Recordset& rs, const QString& campo) {
    QStringList valori;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        valori << rs.Testo(campo);
    return valori;
}

} // namespace

class TstArchivio : public QObject {
    Q_OBJECT

private slots:
    void tabelleECampi();
    void fileCifrato();
    void aperturaFallita();
    void creatoreNonSovrascrive();
    void nomiTabellaSenzaRiguardoAlleMaiuscole();
    void ordineEBatchDiLettura();
    void prefissoTrovaIlPrimo();
    void caratteriJollyLetterali();
    void criteriNumerici();
    void chiaviDuplicate();
    void valoriScrittiNelFile();
    void modificaECancellazione();
    void unRecordsetTenutoRestaValido();
    void erroriDelCursore();
    void fileDiSolaLettura();
    void fileBloccato();
};

void TstArchivio::tabelleECampi() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    QVERIFY(a.Caricato());

    // The names the code uses are the file's own, letter for letter.
    const QList<SchemaArchivio::Tabella> attese = SchemaArchivio::Tabelle();
    QCOMPARE(Archivio::Tabelle(),
             (QStringList{Tabella::Clienti, Tabella::SmsTemporanei, Tabella::SMS,
                          Tabella::Impostazioni, Tabella::DatiGestoreSim}));
    QCOMPARE(attese.size(), Archivio::Tabelle().size() + 1);
    for (int i = 0; i < attese.size(); ++i) {
        Recordset& rs = a.ApriTabella(attese[i].nome);
        QCOMPARE(rs.NomeTabella(), attese[i].nome);
        QCOMPARE(rs.Campi(), attese[i].campi);
        QCOMPARE(rs.RecordCount(), attese[i].nome == Tabella::Impostazioni ? 1 : 0);
    }

    Recordset& imp = a.ApriTabella("Impostazioni");
    QVERIFY(!imp.isEOF());
    QCOMPARE(imp.Testo("ModCom80Colonne"), QString("2"));
    QCOMPARE(imp.Testo("NomeAttivita"), QString());
    QVERIFY(!imp.Booleano("ModAccGsm") && !imp.Booleano("ModStampa") &&
            !imp.Booleano("Mod80Colonne"));
}

void TstArchivio::fileCifrato() {
    CartellaDiProva c;
    const QString percorso = c.file(Archivio::NomeFile());
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(!f.read(16).startsWith("SQLite format 3"));
    f.close();

    ConnessioneEsterna senzaChiave(percorso, QByteArray());
    QVERIFY(!senzaChiave.valore("SELECT count(*) FROM sqlite_master").isValid());
    // With the password, any SQLCipher reader sees the tables and the settings record.
    ConnessioneEsterna conChiave(percorso);
    QCOMPARE(conChiave.valore("SELECT count(*) FROM Impostazioni").toString(), QString("1"));
}

void TstArchivio::aperturaFallita() {
    QTemporaryDir dir;
    const QString percorso = dir.filePath(Archivio::NomeFile());
    Archivio a;

    try {
        a.ApriArchivio(dir.path());
        QFAIL("un file mancante deve fermare l'apertura");
    } catch (const ErroreRuntime& e) {
        QCOMPARE(e.Number(), 3024);
        QVERIFY(e.Description().contains(percorso));
    }
    QVERIFY(!a.Caricato());
    QVERIFY(!QFile::exists(percorso));

    CreatoreArchivio::Crea(percorso, "altra password");
    QCOMPARE(numeroErrore([&] { a.ApriArchivio(dir.path()); }), 3031);
    QVERIFY(!a.Caricato());

    QFile::remove(percorso);
    {
        ConnessioneEsterna inChiaro(percorso, QByteArray());
        QCOMPARE(inChiaro.esegui("CREATE TABLE Clienti (x)"), SQLITE_OK);
    }
    QCOMPARE(numeroErrore([&] { a.ApriArchivio(dir.path()); }), 3343);

    QFile::remove(percorso);
    QFile testo(percorso);
    QVERIFY(testo.open(QIODevice::WriteOnly));
    testo.write("non sono un archivio\n");
    testo.close();
    QCOMPARE(numeroErrore([&] { a.ApriArchivio(dir.path()); }), 3343);

    QFile::remove(percorso);
    {
        ConnessioneEsterna parziale(percorso);
        QCOMPARE(parziale.esegui("CREATE TABLE Clienti (T1Numero TEXT)"), SQLITE_OK);
    }
    QCOMPARE(numeroErrore([&] { a.ApriArchivio(dir.path()); }), 3078);
    QVERIFY(!a.Caricato());
    QCOMPARE(numeroErrore([&] { a.ApriTabella("Clienti"); }), 91);
}

void TstArchivio::creatoreNonSovrascrive() {
    CartellaDiProva c;
    const QString percorso = c.file(Archivio::NomeFile());
    {
        Archivio a;
        a.ApriArchivio(c.percorso());
        aggiungiCliente(a.ApriTabella("Clienti"), "3331112222", "Rossi Mario");
    }
    QCOMPARE(numeroErrore([&] { CreatoreArchivio::Crea(percorso, "x"); }), 3204);
    Archivio a;
    a.ApriArchivio(c.percorso());
    QCOMPARE(a.ApriTabella("Clienti").Testo("T1Nome"), QString("Rossi Mario"));
}

void TstArchivio::nomiTabellaSenzaRiguardoAlleMaiuscole() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    for (const char* nome : {"SmsTemporanei", "Smstemporanei", "SMSTemporanei"})
        QCOMPARE(a.ApriTabella(nome).NomeTabella(), QString("SmsTemporanei"));

    QCOMPARE(numeroErrore([&] { a.ApriTabella("Ordini"); }), 3078);
    QCOMPARE(numeroErrore([&] { a.ApriTabella("sqlite_sequence"); }), 3078);
    QCOMPARE(a.rs().NomeTabella(), QString("SmsTemporanei"));
}

void TstArchivio::ordineEBatchDiLettura() {
    CartellaDiProva c;
    const int n = 1100; // several read-ahead batches
    {
        ConnessioneEsterna raw(c.file(Archivio::NomeFile()));
        raw.esegui("BEGIN");
        for (int i = 0; i < n; ++i)
            raw.esegui(QStringLiteral("INSERT INTO SmsTemporanei (T3Numero, T3TestoSmsRicevuto) "
                                      "VALUES ('%1', 'testo %1')")
                           .arg(9000 - i)
                           .toUtf8());
        raw.esegui("COMMIT");
    }
    Archivio a;
    a.ApriArchivio(c.percorso());
    Recordset& rs = a.ApriTabella("SmsTemporanei");
    QCOMPARE(rs.RecordCount(), n);

    // Order is insertion order, not number order. Deleting records on either side of where
    // read-ahead batches end, and adding one, must neither skip nor repeat a record.
    const QSet<int> daCancellare = {0, 31, 32, 95, 96, 223, 480, 991, 992, n - 1};
    QStringList visti;
    int i = 0;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext(), ++i) {
        visti << rs.Testo("T3Numero");
        if (daCancellare.contains(i))
            rs.Delete();
        if (i == 10)
            aggiungiInAttesa(rs, "aggiunto", "in coda");
    }
    QCOMPARE(visti.size(), n + 1);
    for (int k = 0; k < n; ++k)
        QCOMPARE(visti[k], QString::number(9000 - k));
    QCOMPARE(visti.last(), QString("aggiunto"));

    const QStringList rimasti = percorri(rs, "T3Numero");
    QCOMPARE(rs.RecordCount(), rimasti.size());
    QCOMPARE(rimasti.size(), n + 1 - daCancellare.size());
    QCOMPARE(rimasti.mid(0, 3), QStringList({"8999", "8998", "8997"}));
    QVERIFY(!rimasti.contains("8968") && !rimasti.contains("8969") && rimasti.contains("8970"));
}

void TstArchivio::prefissoTrovaIlPrimo() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    Recordset& rs = a.ApriTabella("SmsTemporanei");
    aggiungiInAttesa(rs, "3401234567", "altro");
    aggiungiInAttesa(rs, "3331234567", "lungo");
    aggiungiInAttesa(rs, "333123456", "corto");
    rs.MoveFirst();

    rs.FindFirst(Criterio::IniziaCon("T3Numero", "333123456"));
    QVERIFY(!rs.NoMatch());
    QCOMPARE(rs.Testo("T3TestoSmsRicevuto"), QString("lungo"));

    rs.FindFirst(Criterio::IniziaCon("t3numero", "3331234567"));
    QCOMPARE(rs.Testo("T3TestoSmsRicevuto"), QString("lungo"));
    rs.MoveNext();
    QCOMPARE(rs.Testo("T3TestoSmsRicevuto"), QString("corto"));

    // No match: the position stays where it was.
    rs.FindFirst(Criterio::IniziaCon("T3Numero", "33312345678"));
    QVERIFY(rs.NoMatch());
    QCOMPARE(rs.Testo("T3TestoSmsRicevuto"), QString("corto"));

    QCOMPARE(numeroErrore([&] { rs.FindFirst(Criterio::IniziaCon("Numero", "3")); }), 3265);
}

void TstArchivio::caratteriJollyLetterali() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    Recordset& rs = a.ApriTabella("Clienti");
    const QStringList numeri = {"3301", "33%",          "33_",
                                "33*",  "O'Hara \"x\"", "1'; DROP TABLE Clienti; --"};
    for (const QString& n : numeri)
        aggiungiCliente(rs, n, "Cliente " + n);

    for (const QString& n : numeri) {
        rs.FindFirst(Criterio::Uguale("T1Numero", n));
        QVERIFY2(!rs.NoMatch(), qPrintable(n));
        QCOMPARE(rs.Testo("T1Numero"), n);
        rs.FindFirst(Criterio::IniziaCon("T1Numero", n));
        QCOMPARE(rs.Testo("T1Numero"), n);
    }
    // Wildcards of either dialect are plain characters: none of them reaches "3301".
    for (const char* p : {"33%", "33_", "33*"}) {
        rs.FindFirst(Criterio::IniziaCon("T1Numero", p));
        QCOMPARE(rs.Testo("T1Numero"), QString(p));
    }
    rs.FindFirst(Criterio::IniziaCon("T1Numero", "3%"));
    QVERIFY(rs.NoMatch());
    rs.FindFirst(Criterio::Uguale("T1Numero", "33"));
    QVERIFY(rs.NoMatch());
    // A field name is never text of the statement.
    QCOMPARE(numeroErrore([&] { rs.FindFirst(Criterio::Uguale("T1Numero = T1Numero --", "x")); }),
             3265);
    QCOMPARE(rs.RecordCount(), numeri.size());
}

void TstArchivio::criteriNumerici() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    Recordset& rs = a.ApriTabella("Clienti");
    aggiungiCliente(rs, "3330000001", "Uno");
    aggiungiCliente(rs, "3330000002", "Due");
    rs.MoveFirst();
    rs.MoveNext();
    const qint64 id = rs.Intero("T1IdCliente");
    rs.MoveFirst();
    rs.FindFirst(Criterio::Uguale("T1IdCliente", id));
    QCOMPARE(rs.Testo("T1Nome"), QString("Due"));

    // Counters are never reused, even after the highest record is deleted.
    rs.Delete();
    aggiungiCliente(rs, "3330000003", "Tre");
    rs.FindFirst(Criterio::Uguale("T1Numero", "3330000003"));
    QCOMPARE(rs.Intero("T1IdCliente"), id + 1);

    Recordset& g = a.ApriTabella("DatiGestoreSim");
    g.AddNew();
    g.Imposta("GestoreSim", "Gestore");
    g.Imposta("ModalitaCre", 2);
    g.Update();
    g.MoveFirst();
    const qint64 idg = g.Intero("IDGestore");
    g.FindFirst(Criterio::Uguale("IDGestore", idg + 1));
    QVERIFY(g.NoMatch());
    g.FindFirst(Criterio::Uguale("IDGestore", idg));
    QCOMPARE(g.Intero("ModalitaCre"), 2);
}

void TstArchivio::chiaviDuplicate() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    Recordset& rs = a.ApriTabella("Clienti");
    aggiungiCliente(rs, "3331112222", "Primo");
    aggiungiCliente(rs, "3333334444", "Secondo");

    try {
        aggiungiCliente(rs, "3331112222", "Doppione");
        QFAIL("il numero duplicato deve essere rifiutato");
    } catch (const ErroreRuntime& e) {
        QCOMPARE(e.Number(), 3022);
        QVERIFY(e.Description().startsWith("Impossibile eseguire le modifiche richieste"));
    }
    rs.CancelUpdate();
    QCOMPARE(percorri(rs, "T1Nome"), QStringList({"Primo", "Secondo"}));

    // Changing a record onto another's number is refused too, and the record keeps its number.
    rs.MoveFirst();
    rs.MoveNext();
    rs.Edit();
    rs.Imposta("T1Numero", "3331112222");
    rs.Imposta("T1Nome", "Cambiato");
    QCOMPARE(numeroErrore([&] { rs.Update(); }), 3022);
    rs.CancelUpdate();
    QCOMPARE(rs.Testo("T1Nome"), QString("Secondo"));
    QCOMPARE(percorri(rs, "T1Numero"), QStringList({"3331112222", "3333334444"}));

    Recordset& g = a.ApriTabella("DatiGestoreSim");
    for (const char* gestore : {"Primo", "Secondo"}) {
        g.AddNew();
        g.Imposta("GestoreSim", gestore);
        g.Imposta("TelCredito", "*123#");
        if (QByteArray(gestore) == "Primo")
            g.Update();
        else
            QCOMPARE(numeroErrore([&] { g.Update(); }), 3022);
    }
    QCOMPARE(g.RecordCount(), 1);
}

void TstArchivio::valoriScrittiNelFile() {
    CartellaDiProva c;
    {
        Archivio a;
        a.ApriArchivio(c.percorso());
        Recordset& rs = a.ApriTabella("Clienti");
        rs.AddNew();
        rs.Imposta("T1Numero", "3331112222");
        rs.Imposta("T1Nome", "Sàndro Pertìni €");
        rs.Imposta("T1Nascita", QString());
        rs.Imposta("T1Eliminato", true);
        rs.Update();
        rs.MoveFirst();
        QCOMPARE(rs.Testo("t1nome"), QString("Sàndro Pertìni €"));
        QVERIFY(rs.Booleano("T1ELIMINATO"));
        QCOMPARE(rs.Campo("T1Informazioni"), QVariant());
        QCOMPARE(rs.Testo("T1Informazioni"), QString(""));
    }
    ConnessioneEsterna raw(c.file(Archivio::NomeFile()));
    QCOMPARE(raw.valore("SELECT typeof(T1Nascita) || ':' || length(T1Nascita) FROM Clienti"),
             QVariant("text:0"));
    QCOMPARE(raw.valore("SELECT typeof(T1Eliminato) || ':' || T1Eliminato FROM Clienti"),
             QVariant("integer:1"));
    QCOMPARE(raw.valore("SELECT hex(T1Nome) FROM Clienti"),
             QVariant(QString::fromLatin1(QString("Sàndro Pertìni €").toUtf8().toHex().toUpper())));
}

void TstArchivio::modificaECancellazione() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    Recordset& rs = a.ApriTabella("SmsTemporanei");
    aggiungiInAttesa(rs, "3331", "a");
    aggiungiInAttesa(rs, "3332", "b");
    aggiungiInAttesa(rs, "3333", "c");
    rs.MoveFirst();

    // AddNew + Update leaves the current record where it was.
    aggiungiInAttesa(rs, "3334", "d");
    QCOMPARE(rs.Testo("T3Numero"), QString("3331"));

    rs.MoveNext();
    rs.Edit();
    rs.Imposta("T3Gestito", true);
    rs.Imposta("T3TestoSmsRicevuto", "b b");
    QCOMPARE(rs.Testo("T3TestoSmsRicevuto"), QString("b b"));
    rs.Update();
    QVERIFY(rs.Booleano("T3Gestito"));

    rs.Edit();
    rs.Imposta("T3TestoSmsRicevuto", "annullato");
    rs.CancelUpdate();
    QCOMPARE(rs.Testo("T3TestoSmsRicevuto"), QString("b b"));

    rs.Delete();
    QCOMPARE(numeroErrore([&] { rs.Testo("T3Numero"); }), 3021);
    QVERIFY(!rs.isEOF());
    rs.MoveNext();
    QCOMPARE(rs.Testo("T3Numero"), QString("3333"));
    rs.MoveNext();
    rs.Delete();
    rs.MoveNext();
    QVERIFY(rs.isEOF());

    // What is in the file, seen through a fresh recordset.
    Recordset& nuovo = a.ApriTabella("SmsTemporanei");
    QCOMPARE(percorri(nuovo, "T3Numero"), QStringList({"3331", "3333"}));
    nuovo.MoveFirst();
    QVERIFY(!nuovo.Booleano("T3Gestito"));
    QCOMPARE(nuovo.RecordCount(), 2);
}

// What a window holds across a question stays a recordset of its table, whatever was opened
// meanwhile, and finds its record again by rowid.
void TstArchivio::unRecordsetTenutoRestaValido() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    Recordset& attesa = a.ApriTabella("SmsTemporanei");
    aggiungiInAttesa(attesa, "3331", "a");
    aggiungiInAttesa(attesa, "3332", "b");
    attesa.MoveFirst();
    attesa.MoveNext();
    const qint64 id = attesa.Rowid();

    Recordset& clienti = a.ApriTabella("Clienti");
    aggiungiCliente(clienti, "3331", "Mario");
    QCOMPARE(&a.ApriTabella("smstemporanei"), &attesa);
    QCOMPARE(&a.rs(), &attesa);
    QCOMPARE(attesa.Testo("T3Numero"), QString("3331")); // reopened: back on the first
    QCOMPARE(percorri(clienti, "T1Nome"), QStringList{"Mario"});

    QVERIFY(attesa.Posiziona(id));
    QCOMPARE(attesa.Testo("T3TestoSmsRicevuto"), QString("b"));
    attesa.Delete();
    QVERIFY(!attesa.Posiziona(id));
    QCOMPARE(numeroErrore([&] { attesa.Rowid(); }), 3021);
    QCOMPARE(percorri(attesa, "T3TestoSmsRicevuto"), QStringList{"a"});
}

void TstArchivio::erroriDelCursore() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    Recordset& rs = a.ApriTabella("SMS");
    QVERIFY(rs.isEOF());
    QCOMPARE(numeroErrore([&] { rs.Testo("T4Numero"); }), 3021);
    QCOMPARE(numeroErrore([&] { rs.MoveNext(); }), 3021);
    QCOMPARE(numeroErrore([&] { rs.Edit(); }), 3021);
    QCOMPARE(numeroErrore([&] { rs.Delete(); }), 3021);
    QCOMPARE(numeroErrore([&] { rs.Testo("T4Mittente"); }), 3265);
    QCOMPARE(numeroErrore([&] { rs.Update(); }), 3020);
    QCOMPARE(numeroErrore([&] { rs.Imposta("T4Numero", "1"); }), 3020);

    rs.AddNew();
    QCOMPARE(numeroErrore([&] { rs.Imposta("T4IdSMS", 7); }), 3027);
    QCOMPARE(numeroErrore([&] { rs.Imposta("T4Mittente", "1"); }), 3265);
    rs.Imposta("T4Numero", "3331");
    rs.Update();
    QVERIFY(rs.isEOF()); // still where it was before AddNew
    rs.MoveFirst();
    QCOMPARE(rs.Testo("T4Numero"), QString("3331"));
    QVERIFY(rs.Intero("T4IdSMS") > 0);
}

void TstArchivio::fileDiSolaLettura() {
    CartellaDiProva c;
    const QString percorso = c.file(Archivio::NomeFile());
    QVERIFY(chmod(QFile::encodeName(percorso).constData(), 0444) == 0);
    QVERIFY(chmod(QFile::encodeName(c.percorso()).constData(), 0755) == 0);

    // The superuser writes through any permission, so the attempt runs as an ordinary user.
    const pid_t figlio = fork();
    QVERIFY(figlio >= 0);
    if (figlio == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(10);
        try {
            Archivio a;
            a.ApriArchivio(c.percorso());
            Recordset& rs = a.ApriTabella("Clienti");
            aggiungiCliente(rs, "3331112222", "Non scritto");
            _exit(11);
        } catch (const ErroreRuntime& e) {
            _exit(e.Number() == 3027 ? 0 : 12);
        }
    }
    int stato = 0;
    QCOMPARE(waitpid(figlio, &stato, 0), figlio);
    QVERIFY(WIFEXITED(stato));
    QCOMPARE(WEXITSTATUS(stato), 0);

    chmod(QFile::encodeName(percorso).constData(), 0644);
    Archivio a;
    a.ApriArchivio(c.percorso());
    QCOMPARE(a.ApriTabella("Clienti").RecordCount(), 0);
}

void TstArchivio::fileBloccato() {
    CartellaDiProva c;
    Archivio a;
    a.ApriArchivio(c.percorso());
    Recordset& rs = a.ApriTabella("Clienti");

    ConnessioneEsterna altro(c.file(Archivio::NomeFile()));
    QCOMPARE(altro.esegui("BEGIN EXCLUSIVE"), SQLITE_OK);
    QCOMPARE(numeroErrore([&] { aggiungiCliente(rs, "3331112222", "Atteso"); }), 3218);
    QCOMPARE(altro.esegui("COMMIT"), SQLITE_OK);

    // The record waiting in the buffer goes in once the other program lets go.
    rs.Update();
    QCOMPARE(rs.RecordCount(), 1);
}

QTEST_GUILESS_MAIN(TstArchivio)
#include "tst_archivio.moc"
