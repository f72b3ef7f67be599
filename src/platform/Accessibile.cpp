#include "Accessibile.h"

#include <QAbstractButton>
#include <QLabel>

namespace {
// A value label is read as what it shows: it carries no fixed name.
const char* const kValore = "veltrikaValore";

QString senzaDuePunti(QString testo) {
    testo.remove(QLatin1Char('&'));
    testo = testo.trimmed();
    if (testo.endsWith(QLatin1Char(':')))
        testo.chop(1);
    return testo.trimmed();
}
} // namespace

void Accessibile::Testo(QLabel* etichetta, const QString& testo) {
    etichetta->setTextFormat(Qt::PlainText);
    etichetta->setText(testo);
    if (!etichetta->property(kValore).toBool())
        etichetta->setAccessibleName(testo);
}

void Accessibile::Testo(QAbstractButton* pulsante, const QString& testo) {
    pulsante->setText(testo);
    pulsante->setAccessibleName(testo);
}

void Accessibile::NominaDaTesto(QWidget* finestra) {
    for (QLabel* l : finestra->findChildren<QLabel*>())
        if (!l->property(kValore).toBool())
            l->setAccessibleName(l->text());
    for (QAbstractButton* b : finestra->findChildren<QAbstractButton*>())
        b->setAccessibleName(b->text());
}

void Accessibile::Didascalia(QLabel* didascalia, QWidget* campo) {
    didascalia->setBuddy(campo);
    didascalia->setAccessibleName(didascalia->text());
    const QString nome = senzaDuePunti(didascalia->text());
    if (qobject_cast<QLabel*>(campo))
        campo->setAccessibleDescription(nome);
    else
        campo->setAccessibleName(nome);
}

void Accessibile::Valore(QLabel* valore) {
    valore->setTextFormat(Qt::PlainText);
    valore->setProperty(kValore, true);
    // Without a name of its own, the label's accessible name is its text as it stands.
    valore->setAccessibleName(QString());
}
