#include "CopioneMessaggi.h"
#include "ModaleRimasta.h"
#include "RegistroSuoni.h"
#include "platform/Modale.h"
#include "platform/MsgBox.h"
#include "platform/Suono.h"
#include "platform/TraduzioniQt.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
// Clicks with the mouse, as the user would, the button of `finestra` that reads `testo`; a window
// still open after that (no such button, or one that does not respond) is rejected.
void premi(QDialog* finestra, const QList<QAbstractButton*>& pulsanti, const QString& testo) {
    for (auto* b : pulsanti)
        if (b->text().remove(QLatin1Char('&')) == testo) {
            QTest::mouseClick(b, Qt::LeftButton);
            break;
        }
    if (finestra->isVisible())
        finestra->reject();
}

// Presses the button with the given text in the box that is open now, and notes its buttons and
// the window it belongs to.
void premiQuandoAperto(const QString& testoPulsante, QStringList* testiVisti,
                       QWidget** proprietario = nullptr) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (proprietario)
            *proprietario = box->parentWidget();
        for (auto* b : box->buttons()) {
            testiVisti->append(b->text().remove(QLatin1Char('&')));
        }
        premi(box, box->buttons(), testoPulsante);
    });
}

// Once a modal window is open, presses its button `testo`. A safety timer rejects whatever modal
// window is still open later, should none have been found, so that a regression fails the test
// instead of hanging it. The timers die with `ambito`.
void cliccaNellaModale(QObject* ambito, const QString& testo) {
    QTimer::singleShot(0, ambito, [testo] {
        if (auto* finestra = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            premi(finestra, finestra->findChildren<QAbstractButton*>(), testo);
    });
    ChiudiModaleRimasta(ambito);
}
} // namespace

class TstMsgBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(TraduzioniQt::Installa(*QCoreApplication::instance())); }

    void rispostaPredefinitaDelloStile() {
        QCOMPARE(RispostaPredefinita(0), Risposta::Ok);
        QCOMPARE(RispostaPredefinita(Stile::SiNo + Stile::Esclamazione), Risposta::Si);
        QCOMPARE(RispostaPredefinita(321), Risposta::Annulla); // 1 + 64 + 256
        QCOMPARE(RispostaPredefinita(531), Risposta::Annulla); // 3 + 16 + 512
        // 4 + 48 + 512: there is no third button, so the first one is the default.
        QCOMPARE(RispostaPredefinita(564), Risposta::Si);
        QCOMPARE(RispostaPredefinita(276), Risposta::No); // 4 + 16 + 256
        QCOMPARE(RispostaPredefinita(2), Risposta::Interrompi);
        QCOMPARE(RispostaPredefinita(5 + 256), Risposta::Annulla);
    }

    void ilCopioneRegistraERisponde() {
        CopioneMessaggi copione({Risposta::No});
        QCOMPARE(MsgBox(QStringLiteral("Domanda?"), 36, QStringLiteral("Titolo")), Risposta::No);
        QCOMPARE(MsgBox(QStringLiteral("Avviso")), Risposta::Ok);
        QCOMPARE(copione.mostrati().size(), 2);
        QCOMPARE(copione.mostrati()[0].style, 36);
        QCOMPARE(copione.mostrati()[0].title, QStringLiteral("Titolo"));
        // Without a title the box carries the program's name.
        QCOMPARE(copione.mostrati()[1].title, QCoreApplication::applicationName());
    }

    // The real box shows a customer's name as typed, never as markup. Enter held down since
    // before the box opened does not answer it; a fresh press does.
    void laFinestraVeraMostraTestoSempliceENonCedeAlTastoTenuto() {
        const QString prompt = QStringLiteral("Il Cliente <b>Anna</b> è memorizzato");
        Qt::TextFormat formato = Qt::AutoText;
        QString testo;
        bool apertaDopoLaRipetizione = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            formato = box->textFormat();
            testo = box->text();
            QKeyEvent ripetuto(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier,
                               QStringLiteral("\r"), true);
            QApplication::sendEvent(box->defaultButton(), &ripetuto);
            apertaDopoLaRipetizione = box->isVisible();
            QTest::keyClick(box->defaultButton(), Qt::Key_Return);
        });
        ChiudiModaleRimasta(this);
        QCOMPARE(MsgBox(prompt, Stile::SiNo), Risposta::Si);
        QCOMPARE(formato, Qt::PlainText);
        QCOMPARE(testo, prompt);
        QVERIFY(apertaDopoLaRipetizione);
    }

    void laFinestraVeraParlaItaliano() {
        QStringList visti;
        premiQuandoAperto(QStringLiteral("No"), &visti);
        QCOMPARE(MsgBox(QStringLiteral("Chiudere?"), Stile::SiNo + Stile::Domanda), Risposta::No);
        QVERIFY2(visti.contains(QStringLiteral("Sì")), qPrintable(visti.join(',')));

        visti.clear();
        premiQuandoAperto(QStringLiteral("Annulla"), &visti);
        QCOMPARE(MsgBox(QStringLiteral("Procedere?"), Stile::SiNoAnnulla), Risposta::Annulla);
        QCOMPARE(visti.size(), 3);

        visti.clear();
        premiQuandoAperto(QStringLiteral("Ignora"), &visti);
        QCOMPARE(MsgBox(QStringLiteral("Errore"), Stile::InterrompiRiprovaIgnora),
                 Risposta::Ignora);
    }

    // The main window asks while the arrival notice, not modal, is the active window: the box is
    // the main window's, in the hook's record and in the real box alike.
    void ilMessaggioAppartieneAllaFinestraCheLoChiede() {
        QWidget principale;
        principale.show();
        QDialog avviso(&principale);
        avviso.show();
        avviso.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&avviso));
        QCOMPARE(QApplication::activeWindow(), &avviso);

        {
            CopioneMessaggi copione;
            MsgBox(QStringLiteral("Dalla finestra"), 0, QString(), &principale);
            // Asked by nobody in particular: the active window's.
            MsgBox(QStringLiteral("Da nessuno"));
            QCOMPARE(copione.mostrati().size(), 2);
            QCOMPARE(copione.mostrati()[0].proprietario, &principale);
            QCOMPARE(copione.mostrati()[1].proprietario, &avviso);
        }

        QStringList visti;
        QWidget* proprietario = nullptr;
        premiQuandoAperto(QStringLiteral("Sì"), &visti, &proprietario);
        QCOMPARE(MsgBox(QStringLiteral("Chiudere?"), Stile::SiNo, QString(), &principale),
                 Risposta::Si);
        QCOMPARE(proprietario, &principale);
    }

    // A window kept disabled by a modal window over it may still ask (a timer of the main window
    // while the print preview is open): its box, made after, answers.
    void ilMessaggioDiUnaFinestraDisabilitataRisponde() {
        QWidget principale;
        principale.show();
        principale.setEnabled(false);
        QStringList visti;
        premiQuandoAperto(QStringLiteral("Sì"), &visti);
        QCOMPARE(MsgBox(QStringLiteral("Riprovare?"), Stile::SiNo, QString(), &principale),
                 Risposta::Si);
    }

    void modaleDisabilitaIlProprietarioFinoAllaChiusura() {
        QWidget proprietario;
        proprietario.show();
        QDialog finestra;
        bool disabilitatoDurante = false;
        Modale::InstallaHook([&](QDialog& d) {
            disabilitatoDurante = !proprietario.isEnabled() && d.isVisible();
            return 7;
        });
        QCOMPARE(Modale::Mostra(finestra, &proprietario), 7);
        Modale::RimuoviHook();
        QVERIFY(disabilitatoDurante);
        QVERIFY(proprietario.isEnabled());
        QVERIFY(!finestra.isVisible());
    }

    // The real exec(): the window over its disabled owner takes a real click.
    void laFinestraModaleRispondeSopraIlProprietario() {
        QWidget proprietario;
        proprietario.show();
        QDialog finestra(&proprietario);
        auto* ok = new QPushButton(QStringLiteral("Ok"), &finestra);
        connect(ok, &QPushButton::clicked, &finestra, &QDialog::accept);
        bool disabilitatoDurante = false;
        QTimer::singleShot(0, &proprietario,
                           [&] { disabilitatoDurante = !proprietario.isEnabled(); });
        cliccaNellaModale(&proprietario, QStringLiteral("Ok"));
        QCOMPARE(Modale::Mostra(finestra, &proprietario), int(QDialog::Accepted));
        QVERIFY(disabilitatoDurante);
        QVERIFY(proprietario.isEnabled());
        QVERIFY(!finestra.isVisible());
    }

    // A window opened over an owner that another window already keeps disabled leaves it
    // disabled: the outer window is still open.
    void modaliAnnidateLascianoIlProprietarioDisabilitato() {
        QWidget proprietario;
        proprietario.show();
        QDialog esterna(&proprietario);
        QDialog interna(&proprietario);
        bool disabilitatoDopoLInterna = false;
        Modale::InstallaHook([&](QDialog& d) {
            if (&d == &esterna) {
                Modale::Mostra(interna, &proprietario);
                disabilitatoDopoLInterna = !proprietario.isEnabled();
            }
            return 1;
        });
        Modale::Mostra(esterna, &proprietario);
        Modale::RimuoviHook();
        QVERIFY(disabilitatoDopoLInterna);
        QVERIFY(proprietario.isEnabled());
    }

    void unSuonoMancanteNonFermaNulla() {
        // No hook: the real call with a file that does not exist returns at once, and the real
        // chime returns once played (or at once where the machine has no audio device).
        Suono::RiproduciSincrono(QStringLiteral("/nonesiste/notify.wav"));
        Suono::RiproduciSincrono(QStringLiteral(SUONO_NOTIFICA));
        RegistroSuoni registro;
        Suono::RiproduciSincrono(QStringLiteral("/cartella/notify.wav"));
        QCOMPARE(registro.suonati, QStringList{QStringLiteral("/cartella/notify.wav")});
    }
};

QTEST_MAIN(TstMsgBox)
#include "tst_msgbox.moc"
