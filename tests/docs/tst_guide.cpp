#include "EseguiProgramma.h"
#include "TestoPdf.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kCartella = QStringLiteral(CARTELLA_PROGRAMMA);
const QString kDocumenti = QStringLiteral(SORGENTI_GUIDE);

// The pictures a PDF holds, as pdfimages lists them.
int immagini(const QString& pdf) {
    QByteArray elenco;
    if (EseguiProgramma(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}, &elenco) != 0)
        return -1;
    // Two lines of headings, then one line per picture.
    return int(elenco.count('\n')) - 2;
}

// The "##" headings of a guide's source text, in order.
QStringList titoli(const QString& md) {
    QStringList t;
    for (const QString& riga : md.split('\n'))
        if (riga.startsWith(QStringLiteral("## ")) || riga.startsWith(QStringLiteral("# ")))
            t << riga.section(' ', 1);
    return t;
}

} // namespace

class TstGuide : public QObject {
    Q_OBJECT

private slots:
    // Both guides are in the program folder, readable, with their sections in order and, in the
    // user guide, every screenshot its source names.
    void leGuideSonoNellaCartellaDelProgramma_data() {
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<QString>("sorgente");
        QTest::addColumn<QStringList>("attesi");
        QTest::newRow("utente") << "help.pdf"
                                << "help.md"
                                << QStringList{"VELTRIKA — Guida per l'utente",
                                               "La finestra principale", "Gestione dei clienti",
                                               "Messaggi del programma",
                                               "Dove sono i dati e come salvarli"};
        QTest::newRow("stampanti")
            << "configurazione stampanti.pdf"
            << "configurazione-stampanti.md"
            << QStringList{"Configurazione delle stampanti",
                           "Stampante a 80 colonne su porta seriale o USB", "Stampante di sistema",
                           "Stampanti a rotolo da 80 mm"};
    }
    void leGuideSonoNellaCartellaDelProgramma() {
        QFETCH(QString, pdf);
        QFETCH(QString, sorgente);
        QFETCH(QStringList, attesi);
        const QString percorso = QDir(kCartella).filePath(pdf);
        const TestoPdf testo(percorso);
        QVERIFY2(testo.valido(), qPrintable(percorso));
        QFile md(QDir(kDocumenti).filePath(sorgente));
        QVERIFY(md.open(QIODevice::ReadOnly));
        const QString fonte = QString::fromUtf8(md.readAll());
        const QStringList sezioni = titoli(fonte);
        for (const QString& t : attesi)
            QVERIFY2(sezioni.contains(t), qPrintable(t));
        QVERIFY(testo.inOrdine(sezioni));

        const qsizetype figure = fonte.count(QStringLiteral("]("));
        QCOMPARE(immagini(percorso), int(figure));
    }

    // A screenshot that cannot be read stops the build, and no guide is left in its place.
    void unaFiguraMancanteFermaLaGuida() {
        QTemporaryDir dir;
        const QString md = dir.filePath(QStringLiteral("guida.md"));
        QFile f(md);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("# Guida\n\n![La finestra](schermate/manca.png)\n");
        f.close();
        const QString pdf = dir.filePath(QStringLiteral("guida.pdf"));
        QVERIFY(EseguiProgramma(QStringLiteral(CREA_GUIDA), {md, pdf}) != 0);
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("guida.md")});
    }
};

QTEST_MAIN(TstGuide)
#include "tst_guide.moc"
