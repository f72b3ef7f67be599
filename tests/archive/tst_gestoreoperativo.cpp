#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "DatiDiProva.h"
#include "archive/Archivio.h"
#include "archive/GestoreOperativo.h"

#include <QtTest>

namespace {

// An archive holding two operators, the second one in use, and that operator read.
struct Banco {
    CartellaDiProva cartella;
    Archivio a;
    GestoreOperativo g;
    Banco(const char* primo, const char* secondo, bool primoInUso) {
        a.ApriArchivio(cartella.percorso());
        DatiDiProva::Gestore(a, primo, "1", primoInUso, 1, "1,00");
        DatiDiProva::Gestore(a, secondo, "2", true, 2, "4,00");
        g.Leggi(a);
    }
};

} // namespace

// The operator in use and its credit, as stored in the archive.
class TstGestoreOperativo : public QObject {
    Q_OBJECT
private slots:
    // The last operator marked wins; with none marked, nothing read before stays.
    void letturaDellUltimoInUso() {
        Banco b("A", "B", true);
        GestoreOperativo& g = b.g;
        QCOMPARE(g.nome, QStringLiteral("B"));
        QCOMPARE(g.numeroCredito, QStringLiteral("2"));
        QCOMPARE(g.modalita, 2);
        QCOMPARE(g.credito, QStringLiteral("4,00"));
        ConnessioneEsterna(b.a.Percorso()).esegui("UPDATE DatiGestoreSim SET Operativo = 0");
        QVERIFY(!g.Leggi(b.a));
        QCOMPARE(g.id, 0);
        QVERIFY(g.nome.isEmpty() && g.numeroCredito.isEmpty() && g.credito.isEmpty());
    }

    // The credit goes to the operator in use, not to another of the same name; a credit grown
    // dates a top-up, a credit spent does not.
    void creditoAlGestoreInUso() {
        Banco b("TIM", "TIM", false);
        b.g.RegistraCredito(b.a, QStringLiteral("13,00"), QDate(2026, 12, 7));
        b.g.RegistraCredito(b.a, QStringLiteral("12,50"), QDate(2026, 12, 8));
        QCOMPARE(b.g.credito, QStringLiteral("12,50"));
        ConnessioneEsterna f(b.a.Percorso());
        QCOMPARE(f.valore("SELECT group_concat(CreditoSim || ' ' || ifnull(DataScadenza, '-'), "
                          "'; ') FROM (SELECT * FROM DatiGestoreSim ORDER BY IDGestore)")
                     .toString(),
                 QStringLiteral("1,00 -; 12,50 07/12/2026"));
    }
};

QTEST_GUILESS_MAIN(TstGestoreOperativo)
#include "tst_gestoreoperativo.moc"
