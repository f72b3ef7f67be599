#include "BancoFormMain.h"
#include "ControlloAccessibile.h"
#include "CopioneMessaggi.h"
#include "DatiDiProva.h"
#include "DatiStampa.h"
#include "ModaleRimasta.h"
#include "app/FormChiusura.h"
#include "app/FormLogo.h"
#include "archive/Schema.h"
#include "customers/FormClienti.h"
#include "desk/FormMsgBox1.h"
#include "desk/FormMsgBox3.h"
#include "desk/FormMsgBox4.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

// Names and texts that would change or vanish if shown as markup.
const QString kNome = QStringLiteral("<b>Anna</b> & co");
const QString kTesto = QStringLiteral("<br>Due pizze &lt;margherita&gt;");

// The main window started over an archive with one customer, one pending order from them and
// one archived message, shown and active.
struct Banco : BancoFormMain {
    CopioneMessaggi copione;
    // The windows that Esc did not close.
    QStringList senzaEsc;

    Banco() {
        Archivio& a = archivioDiretto();
        DatiDiProva::Cliente(a, QStringLiteral("3331111111"), kNome);
        DatiDiProva::SmsInAttesa(a, QStringLiteral("3331111111"), QStringLiteral("05/03/24"),
                                 QStringLiteral("10:00:00"), kTesto);
        DatiStampa::SmsArchiviato(a, QStringLiteral("3331111111"), QStringLiteral("04/03/24"),
                                  QStringLiteral("09:00:00"), kTesto);
        rinnova();
        avviaFinoAllaLista();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // Runs `dentro` on the modal window that `apri` opens, then closes it with Esc if still open
    // (noting it when Esc does not close it).
    void inFinestra(const std::function<void()>& apri,
                    const std::function<void(QWidget*)>& dentro) {
        QTimer::singleShot(0, form.get(), [this, dentro] {
            QWidget* finestra = QApplication::activeModalWidget();
            QVERIFY(finestra);
            finestra->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), finestra);
            dentro(finestra);
            if (QApplication::activeModalWidget() == finestra) {
                QWidget* fuoco = QApplication::focusWidget();
                QTest::keyClick(fuoco ? fuoco : finestra, Qt::Key_Escape);
                if (QApplication::activeModalWidget() == finestra)
                    senzaEsc << finestra->objectName() + QLatin1Char(' ') + finestra->windowTitle();
            }
        });
        ChiudiModaleRimasta(form.get());
        apri();
    }

    bool gestito() {
        Recordset& rs = stato->archivio.ApriTabella(Tabella::SmsTemporanei);
        rs.MoveFirst();
        return !rs.isEOF() && rs.Booleano(Campo::T3Gestito);
    }
};

QString letto(QWidget* w, QAccessible::Text quale = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(w)->text(quale);
}

void mostraAttiva(QWidget* w) {
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

} // namespace

class TstAccessibilita : public QObject {
    Q_OBJECT
private slots:
    // Every window, opened the way the user opens it and holding names and texts that look
    // like markup: each control has a spoken name, each label is read as what it shows, and
    // Tab goes round every input.
    void ogniFinestraSiUsaDaTastieraESiLegge() {
        Banco b;
        QMap<QString, QStringList> difetti;
        const auto controlla = [&](const QString& nome, QWidget* w) {
            const QStringList d = DifettiAccessibilita(w);
            if (!d.isEmpty())
                difetti[nome] = d;
        };
        b.form->ListaSMS->setFocus();
        controlla(QStringLiteral("principale"), b.form.get());

        const auto voce = [&](const char* nome) {
            return
                [&b, nome] { b.form->findChild<QAction*>(QString::fromLatin1(nome))->trigger(); };
        };
        for (const char* nome : {"CmConfiguraAttivita", "CmImpostaGestoreSim", "CmBackup",
                                 "CmRipristina", "CmInvioSms", "CmInfo"})
            b.inFinestra(voce(nome), [&](QWidget* w) { controlla(QString::fromLatin1(nome), w); });

        b.inFinestra(voce("CmClienti"), [&](QWidget* w) {
            auto* f = qobject_cast<FormClienti*>(w);
            QVERIFY(f);
            controlla(QStringLiteral("clienti"), w);
            // A customer chosen with Enter: the editor with its id shown.
            f->lstADD->setCurrentItem(f->lstADD->topLevelItem(0));
            QTest::keyClick(f->lstADD, Qt::Key_Return);
            QVERIFY(f->FrAggiungiModifica->isVisible());
            controlla(QStringLiteral("clienti, modifica"), w);
            QCOMPARE(letto(f->Text1[1]), QStringLiteral("Nome"));
            // The page preview of the list, over the register.
            f->Command1_Click(9);
            b.inFinestra(
                [f] { f->Command1[3]->click(); },
                [&](QWidget* anteprima) { controlla(QStringLiteral("anteprima"), anteprima); });
        });

        b.inFinestra(voce("CmSMS"), [&](QWidget* w) {
            auto* lista = w->findChild<QTreeWidget*>(QStringLiteral("ListaClienti"));
            lista->setFocus();
            lista->setCurrentItem(lista->topLevelItem(1));
            QTest::keyClick(lista, Qt::Key_Return);
            controlla(QStringLiteral("archivio"), w);
        });

        // The windows that are not run modally: the splash, the closing notice and the three
        // message windows besides the desk's.
        const RigaListaSms riga{QStringLiteral("3331111111"), kNome, QStringLiteral("05/03/24"),
                                QStringLiteral("10:00:00"), kTesto};
        FormLogo logo;
        mostraAttiva(&logo);
        logo.Timer1_Timer();
        controlla(QStringLiteral("logo"), &logo);
        FormChiusura chiusura;
        mostraAttiva(&chiusura);
        controlla(QStringLiteral("chiusura"), &chiusura);
        bool visualizza = false;
        FormMsgBox1 avviso(b.cartella.percorso(), visualizza);
        FormMsgBox3 lettura;
        FormMsgBox4 archiviazione;
        for (SchedaSms* s : std::initializer_list<SchedaSms*>{&avviso, &lettura, &archiviazione}) {
            s->Riempi(riga);
            mostraAttiva(s);
            controlla(s->objectName(), s);
            s->hide();
        }
        QVERIFY2(b.senzaEsc.isEmpty(), qPrintable(b.senzaEsc.join(QStringLiteral(", "))));
        QVERIFY2(difetti.isEmpty(), qPrintable([&] {
                     QStringList r;
                     for (auto it = difetti.cbegin(); it != difetti.cend(); ++it)
                         r << it.key() + QStringLiteral(": ") +
                                  it.value().join(QStringLiteral("; "));
                     return r.join(QLatin1Char('\n'));
                 }()));
    }

    // Enter on an order opens it; the same Enter held down does not answer the window it opened.
    // The window reads out number, name, date, time and text, each after its caption, as typed.
    void lOrdineSiLeggeENonSiArchiviaTenendoPremutoInvio() {
        Banco b;
        QStringList valori, descrizioni, visti;
        bool apertaDopoLaRipetizione = false;
        b.form->ListaSMS->setFocus();
        b.form->ListaSMS->setCurrentIndex(b.form->ListaSMS->model()->index(0, 0));
        b.inFinestra([&] { QTest::keyClick(b.form->ListaSMS, Qt::Key_Return); },
                     [&](QWidget* w) {
                         auto* scheda = qobject_cast<SchedaSms*>(w);
                         QVERIFY(scheda);
                         for (QLabel* l : {scheda->Label2, scheda->Label3, scheda->Label4,
                                           scheda->Label5, scheda->Label6}) {
                             valori << letto(l);
                             descrizioni << letto(l, QAccessible::Description);
                             visti << (l->textFormat() == Qt::PlainText ? l->text() : QString());
                         }
                         for (int i = 0; i < 5; ++i) {
                             QKeyEvent ripetuto(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier,
                                                QStringLiteral("\r"), true);
                             QWidget* fuoco = QApplication::focusWidget();
                             QApplication::sendEvent(fuoco ? fuoco : w, &ripetuto);
                         }
                         apertaDopoLaRipetizione = QApplication::activeModalWidget() == w;
                     });
        const QStringList attesi{QStringLiteral("3331111111"), kNome, QStringLiteral("05/03/24"),
                                 QStringLiteral("10:00:00"), kTesto};
        QCOMPARE(valori, attesi);
        QCOMPARE(visti, attesi);
        QCOMPARE(descrizioni, (QStringList{QStringLiteral("Numero"), QStringLiteral("Nome"),
                                           QStringLiteral("Data"), QStringLiteral("Ora"),
                                           QStringLiteral("Testo")}));
        QVERIFY(apertaDopoLaRipetizione);
        QVERIFY(!b.gestito());
        QCOMPARE(b.form->ListaSMS->model()->rowCount(), 1);
    }
    // A customer added and then changed with the keyboard alone: F10 and the arrows to
    // "Gesione Clienti", Tab between the fields and the buttons, Enter and Space to press them;
    // the records land in the archive.
    void unClienteSiAggiungeESiCambiaConLaSolaTastiera() {
        Banco b;
        const auto premi = [](Qt::Key tasto) {
            QTest::keyClick(QApplication::focusWidget(), tasto);
        };
        const auto scrivi = [](const QString& testo) {
            QTest::keyClicks(QApplication::focusWidget(), testo);
        };
        // Tab until the control named `nome` has the focus.
        const auto vaiA = [](const QString& nome) {
            for (int i = 0; i < 40; ++i) {
                if (QApplication::focusWidget()->objectName() == nome)
                    return true;
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            return false;
        };
        bool aperta = false;
        QTimer::singleShot(0, b.form.get(), [&] {
            auto* f = qobject_cast<FormClienti*>(QApplication::activeModalWidget());
            QVERIFY(f);
            aperta = true;
            f->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), f);
            if (!QApplication::focusWidget())
                QTest::keyClick(f, Qt::Key_Tab);
            // "Aggiungi", then the fields in their order; a slip mended with Delete.
            QVERIFY(vaiA(QStringLiteral("Command1_0")));
            premi(Qt::Key_Return);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), f->Text1[0]);
            scrivi(QStringLiteral("33322222229"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
            // Delete as X11 types it: the character 0x7F.
            QKeyEvent canc(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
            QApplication::sendEvent(QApplication::focusWidget(), &canc);
            premi(Qt::Key_Tab);
            scrivi(QStringLiteral("Bruno"));
            premi(Qt::Key_Tab);
            scrivi(QStringLiteral("05"));
            premi(Qt::Key_Tab);
            scrivi(QStringLiteral("11"));
            premi(Qt::Key_Tab);
            scrivi(QStringLiteral("1980"));
            premi(Qt::Key_Tab);
            scrivi(QStringLiteral("Via Roma 1"));
            premi(Qt::Key_Tab);
            scrivi(QStringLiteral("Citofono B"));
            premi(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), f->Command1[0]); // "Conferma"
            premi(Qt::Key_Space);

            // The new customer, found in the list with the arrows, changed and saved.
            QVERIFY(vaiA(QStringLiteral("lstADD")));
            premi(Qt::Key_End);
            premi(Qt::Key_Return);
            QVERIFY(vaiA(QStringLiteral("Text1_1")));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
            scrivi(QStringLiteral(" Verdi"));
            QVERIFY(vaiA(QStringLiteral("Command1_2"))); // "Modifica"
            premi(Qt::Key_Space);
            premi(Qt::Key_Escape);
        });
        ChiudiModaleRimasta(b.form.get());
        b.form->ListaSMS->setFocus();
        QTest::keyClick(b.form->ListaSMS, Qt::Key_F10);
        QWidget* menu = QApplication::activePopupWidget();
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key_Right);
        QTest::keyClick(b.form->menuBar(), Qt::Key_Return);
        QVERIFY(aperta);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY2(b.copione.mostrati().isEmpty(), qPrintable(b.copione.testi().join(" | ")));

        QStringList clienti;
        Recordset& rs = b.stato->archivio.ApriTabella(Tabella::Clienti);
        for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
            clienti << QStringList{rs.Testo(Campo::T1Numero), rs.Testo(Campo::T1Nome),
                                   rs.Testo(Campo::T1Nascita), rs.Testo(Campo::T1Indirizzo),
                                   rs.Testo(Campo::T1Informazioni)}
                           .join(QLatin1Char('|'));
        QCOMPARE(clienti.size(), 2);
        QCOMPARE(clienti.last(), QStringLiteral("3332222222|Bruno Verdi|05/11/1980|Via Roma 1|"
                                                "Citofono B"));
    }
};

QTEST_MAIN(TstAccessibilita)
#include "tst_accessibilita.moc"
