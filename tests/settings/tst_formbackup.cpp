#include "BancoFormMain.h"
#include "CopioneMessaggi.h"
#include "ModaleRimasta.h"
#include "backup/BackupAutomatico.h"
#include "backup/ConservazioneCopie.h"
#include "backup/ImpostazioniBackup.h"
#include "backup/VerificaCopia.h"
#include "settings/FormBackup.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

class TstFormBackup : public QObject {
    Q_OBJECT
private slots:
    // From the menu, over the running program: a second folder typed in, "Copia Ora", and the
    // copy lands checked in both folders, the window showing the outcome and the new last copy.
    void copiaOraAncheNellaSecondaCartella() {
        BancoFormMain b;
        b.avviaFinoAllaLista();
        const QString principale = ImpostazioniBackup::CartellaPrincipale(b.cartella.percorso());
        QTRY_VERIFY_WITH_TIMEOUT(!b.form->Backup().InCorso() &&
                                     !ConservazioneCopie::Elenco(principale).isEmpty(),
                                 20000);
        const QString chiavetta = b.cartella.file(QStringLiteral("chiavetta"));
        QVERIFY(QDir().mkpath(chiavetta));
        b.form->Backup().Adesso = [] { return QDateTime(QDate(2030, 1, 15), QTime(12, 30)); };

        CopioneMessaggi copione;
        QString primaSeconda, stato, dopoSeconda, dopoPrincipale;
        QTimer::singleShot(0, b.form.get(), [&] {
            auto* f = qobject_cast<FormBackup*>(QApplication::activeModalWidget());
            QVERIFY(f);
            primaSeconda = f->LblUltimaSeconda->text();
            QTest::keyClicks(f->TxtSecondaCartella, chiavetta);
            QTest::mouseClick(f->Command1[0], Qt::LeftButton);
            QVERIFY(!f->Command1[0]->isEnabled());
            QTRY_VERIFY_WITH_TIMEOUT(f->Command1[0]->isEnabled(), 20000);
            stato = f->LblStato->text();
            dopoSeconda = f->LblUltimaSeconda->text();
            dopoPrincipale = f->LblUltimaPrincipale->text();
            QTest::mouseClick(f->Command1[2], Qt::LeftButton);
        });
        ChiudiModaleRimasta(b.form.get(), 30000);
        b.form->CmBackup->trigger();

        QCOMPARE(primaSeconda, QStringLiteral("Nessuna seconda cartella"));
        QCOMPARE(stato.count(QStringLiteral("Copia verificata")), 2);
        QVERIFY2(dopoSeconda.startsWith(QStringLiteral("15/01/2030 12:30, ")),
                 qPrintable(dopoSeconda));
        QCOMPARE(dopoPrincipale, dopoSeconda);
        QCOMPARE(ImpostazioniBackup::Leggi(b.cartella.percorso()).secondaCartella, chiavetta);
        // In the stick, in this installation's own folder.
        const QString seconda = ImpostazioniBackup::Leggi(b.cartella.percorso()).CartellaSeconda();
        QVERIFY(seconda.startsWith(chiavetta + QLatin1Char('/')));
        for (const QString& cartella : {principale, seconda}) {
            const QList<ConservazioneCopie::Copia> copie = ConservazioneCopie::Elenco(cartella);
            QVERIFY(!copie.isEmpty());
            QCOMPARE(copie[0].quando, QDateTime(QDate(2030, 1, 15), QTime(12, 30)));
            QVERIFY(VerificaCopia::Verifica(copie[0].percorso).valida);
        }
        QVERIFY(copione.mostrati().isEmpty());
    }

    // A folder that is not there now (the stick is out) is kept only when the user says so.
    void cartellaAssenteSoloSeConfermata() {
        BancoFormMain b;
        b.avviaFinoAllaLista();
        b.form->Backup().Sospendi();
        FormBackup f(b.cartella.percorso(), b.form->Backup());
        const QString assente = b.cartella.file(QStringLiteral("assente"));
        f.TxtSecondaCartella->setText(assente);
        {
            CopioneMessaggi no({7});
            f.Command1_Click(1);
            QCOMPARE(no.mostrati().size(), 1);
            QVERIFY(no.testi()[0].contains(assente));
        }
        QCOMPARE(ImpostazioniBackup::Leggi(b.cartella.percorso()).secondaCartella, QString());
        CopioneMessaggi si({6});
        f.Command1_Click(1);
        QCOMPARE(ImpostazioniBackup::Leggi(b.cartella.percorso()).secondaCartella, assente);
        QCOMPARE(f.LblUltimaSeconda->text(), QStringLiteral("Cartella non raggiungibile"));
    }
};

QTEST_MAIN(TstFormBackup)
#include "tst_formbackup.moc"
