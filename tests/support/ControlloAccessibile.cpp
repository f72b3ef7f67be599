#include "ControlloAccessibile.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTextEdit>

namespace {

QString chi(const QWidget* w) {
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
}

QString nomeLetto(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

bool inserimento(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QAbstractItemView*>(w);
}

// The controls of the window itself: a list's header, a combo box's popup and the insides of a
// composite control speak through their owner.
bool proprio(QWidget* finestra, QWidget* w) {
    if (!w->isVisibleTo(finestra) || qobject_cast<QHeaderView*>(w))
        return false;
    for (QWidget* p = w->parentWidget(); p && p != finestra; p = p->parentWidget())
        if (inserimento(p) || qobject_cast<QComboBox*>(p))
            return false;
    return true;
}

} // namespace

QStringList DifettiAccessibilita(QWidget* finestra) {
    QStringList difetti;
    QList<QWidget*> daRaggiungere;
    for (QWidget* w : finestra->findChildren<QWidget*>()) {
        if (!proprio(finestra, w))
            continue;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->text().isEmpty() && l->pixmap().isNull())
                continue;
            const QString nome = nomeLetto(l);
            // A caption's mnemonic "&" is not read out.
            if (nome != l->text() && nome != QString(l->text()).remove(QLatin1Char('&')))
                difetti << chi(l) + QStringLiteral(" si legge \"") + nome +
                               QStringLiteral("\" ma mostra \"") + l->text() + QLatin1Char('"');
            if (l->text().contains(QLatin1Char('<')) && l->textFormat() != Qt::PlainText)
                difetti << chi(l) + QStringLiteral(" mostra markup come testo ricco");
            continue;
        }
        if (!inserimento(w))
            continue;
        if (w->focusPolicy() & Qt::TabFocus && nomeLetto(w).trimmed().isEmpty())
            difetti << chi(w) + QStringLiteral(" senza nome");
        if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            daRaggiungere << w;
    }

    if (daRaggiungere.isEmpty())
        return difetti;
    // Tab from the focused control around the window.
    QSet<QWidget*> raggiunti;
    QWidget* inizio = QApplication::focusWidget();
    // A window opened with nothing focused: the user's first Tab gives the focus.
    if (!inizio || inizio->window() != finestra) {
        QTest::keyClick(finestra, Qt::Key_Tab);
        inizio = QApplication::focusWidget();
    }
    if (!inizio || inizio->window() != finestra) {
        difetti << QStringLiteral("nessun controllo ha il fuoco");
        return difetti;
    }
    QWidget* attuale = inizio;
    for (int i = 0; i <= daRaggiungere.size() + 2; ++i) {
        raggiunti.insert(attuale);
        QTest::keyClick(attuale, Qt::Key_Tab);
        QWidget* prossimo = QApplication::focusWidget();
        if (prossimo == attuale) {
            if (daRaggiungere.size() <= 1)
                break;
            difetti << chi(attuale) + QStringLiteral(" trattiene il Tab");
            break;
        }
        if (!prossimo || prossimo->window() != finestra) {
            difetti << QStringLiteral("il Tab esce dalla finestra");
            break;
        }
        attuale = prossimo;
        if (attuale == inizio)
            break;
    }
    // Tab reaches the chosen button of a group of options; the arrows choose among them.
    const auto raggiunto = [&](QWidget* w) {
        if (raggiunti.contains(w))
            return true;
        if (auto* o = qobject_cast<QRadioButton*>(w); o && o->autoExclusive())
            for (QRadioButton* altro : o->parentWidget()->findChildren<QRadioButton*>(
                     QString(), Qt::FindDirectChildrenOnly))
                if (raggiunti.contains(altro))
                    return true;
        return false;
    };
    for (QWidget* w : daRaggiungere)
        if (!raggiunto(w))
            difetti << chi(w) + QStringLiteral(" non raggiunto dal Tab");
    return difetti;
}
