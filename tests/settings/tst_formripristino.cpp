#include "BancoFormMain.h"
#include "ConnessioneEsterna.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "ModaleRimasta.h"
#include "backup/BackupAutomatico.h"
#include "backup/CopiaArchivio.h"
#include "backup/ImpostazioniBackup.h"
#include "platform/MsgBox.h"
#include "settings/FormRipristino.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

namespace {

const QString kTitolo = QStringLiteral("Ripristina Archivio");

QString Testi(const QString& archivio) {
    return ConnessioneEsterna(archivio)
        .valore("SELECT group_concat(T3TestoSmsRicevuto, '|') FROM "
                "(SELECT T3TestoSmsRicevuto FROM SmsTemporanei ORDER BY rowid)")
        .toString();
}

int Clienti(const QString& archivio) {
    return ConnessioneEsterna(archivio).valore("SELECT COUNT(*) FROM Clienti").toInt();
}

// A program folder whose archive had Mario and his order when last evening's copy was taken;
// Anna and her order came after it.
struct Banco : BancoFormMain {
    QString copia;

    Banco() {
        Archivio& a = archivioDiretto();
        DatiDiProva::Cliente(a, QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        DatiDiProva::SmsInAttesa(a, QStringLiteral("3331112222"), QStringLiteral("08/12/26"),
                                 QStringLiteral("19:00:00"), QStringLiteral("Una diavola"));
        {
            CopiaArchivio c(a, {ImpostazioniBackup::CartellaPrincipale(cartella.percorso())},
                            QDateTime(QDate(2026, 12, 8), QTime(21, 0)));
            c.Completa();
            QVERIFY(c.Riuscita());
            copia = c.Esiti()[0].percorso;
        }
        DatiDiProva::Cliente(a, QStringLiteral("3479990000"), QStringLiteral("Anna Bianchi"));
        DatiDiProva::SmsInAttesa(a, QStringLiteral("3479990000"), QStringLiteral("09/12/26"),
                                 QStringLiteral("09:30:00"), QStringLiteral("Un calzone"));
        rinnova();
        collegaModem();
        avviaFinoAllaLista();
    }
    QString archivio() const { return cartella.file(QStringLiteral("archivio.mdb")); }
};

} // namespace

class TstFormRipristino : public QObject {
    Q_OBJECT
private slots:
    // Last evening's copy chosen from the menu. While the user reads the confirmation, the main
    // timer stores a new order: the question comes again with it listed. The archive is then the
    // copy, the list shows its order, and the replaced archive, with both later orders, stays.
    void ripristinoDalMenuConUnOrdineArrivatoDuranteLaDomanda() {
        Banco b;
        QStringList conferme;
        int finali = 0;
        bool arrivato = false;
        MsgBoxHook::Installa([&](const MessaggioMostrato& m) {
            if (m.title != kTitolo)
                return Risposta::Ok;
            if (!(m.style & Stile::SiNo)) {
                ++finali;
                return Risposta::Ok;
            }
            conferme << m.prompt;
            if (conferme.size() == 1) {
                b.modem.sms(1, QStringLiteral("+393479990000"),
                            QStringLiteral("26/12/09,10:15:30+04"), QStringLiteral("Tre supplì"));
                // The next poll comes within ten seconds of idle ticks: time enough for a slow
                // (sanitized) build.
                arrivato = QTest::qWaitFor(
                    [&] { return Testi(b.archivio()).endsWith(QStringLiteral("Tre supplì")); },
                    25000);
            }
            return Risposta::Si;
        });
        const auto rimuovi = qScopeGuard([] { MsgBoxHook::Rimuovi(); });

        QTimer::singleShot(0, b.form.get(), [&] {
            auto* f = qobject_cast<FormRipristino*>(QApplication::activeModalWidget());
            QVERIFY(f);
            for (int i = 0; i < f->ListaCopie->topLevelItemCount(); ++i) {
                QTreeWidgetItem* riga = f->ListaCopie->topLevelItem(i);
                if (riga->data(0, Qt::UserRole).toString() == b.copia)
                    f->ListaCopie->setCurrentItem(riga);
            }
            QCOMPARE(f->ListaCopie->currentItem()->text(0), QStringLiteral("08/12/2026 21:00"));
            QTest::mouseClick(f->Command1[0], Qt::LeftButton);
        });
        ChiudiModaleRimasta(b.form.get(), 30000);
        b.form->CmRipristina->trigger();

        QVERIFY(arrivato);
        QCOMPARE(conferme.size(), 2);
        QVERIFY(conferme[0].contains(QStringLiteral("1 clienti, 1 SMS in attesa")));
        QVERIFY(conferme[0].contains(QStringLiteral("Un calzone")));
        QVERIFY(!conferme[0].contains(QStringLiteral("Tre supplì")));
        QVERIFY(conferme[1].contains(QStringLiteral("questi 2 SMS in attesa")));
        QVERIFY(conferme[1].contains(QStringLiteral("Tre supplì")));
        QCOMPARE(finali, 1);

        QCOMPARE(Testi(b.archivio()), QStringLiteral("Una diavola"));
        QCOMPARE(Clienti(b.archivio()), 1);
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 1);
        QCOMPARE(b.form->ListaSMS->model()->index(0, 1).data().toString(), QStringLiteral("Mario Rossi"));
        const QStringList accantonati =
            QDir(b.cartella.percorso()).entryList({QStringLiteral("archivio-sostituito-*")});
        QCOMPARE(accantonati.size(), 1);
        const QString vecchio = b.cartella.file(accantonati[0]);
        QCOMPARE(Testi(vecchio), QStringLiteral("Una diavola|Un calzone|Tre supplì"));
        QCOMPARE(Clienti(vecchio), 2);
        QVERIFY(!QFile::exists(b.archivio() + QStringLiteral(".ripristino")));
    }

    // A damaged copy is refused after its check, and nothing changes.
    void copiaDanneggiataRifiutata() {
        Banco b;
        b.form->Backup().Sospendi();
        {
            QFile f(b.copia);
            QVERIFY(f.open(QIODevice::ReadWrite));
            f.resize(f.size() / 2);
        }
        CopioneMessaggi copione;
        FormRipristino f(*b.stato, b.form->Backup());
        f.ListaCopie->setCurrentItem(f.ListaCopie->topLevelItem(0));
        f.Command1_Click(0);
        QCOMPARE(copione.mostrati().size(), 1);
        QCOMPARE(copione.mostrati()[0].style, Stile::Critico);
        QVERIFY(copione.testi()[0].endsWith(QStringLiteral("Il ripristino non è stato eseguito.")));
        QCOMPARE(Testi(b.archivio()), QStringLiteral("Una diavola|Un calzone"));
        QVERIFY(QDir(b.cartella.percorso())
                    .entryList({QStringLiteral("archivio-sostituito-*")})
                    .isEmpty());
    }
};

QTEST_MAIN(TstFormRipristino)
#include "tst_formripristino.moc"
