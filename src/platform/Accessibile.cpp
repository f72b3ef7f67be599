#include "Accessibile.h"

#include <QAbstractButton>
#include <QLabel>

void Accessibile::Testo(QLabel* etichetta, const QString& testo) {
    etichetta->setText(testo);
    etichetta->setAccessibleName(testo);
}

void Accessibile::Testo(QAbstractButton* pulsante, const QString& testo) {
    pulsante->setText(testo);
    pulsante->setAccessibleName(testo);
}

void Accessibile::NominaDaTesto(QWidget* finestra) {
    for (QLabel* l : finestra->findChildren<QLabel*>())
        l->setAccessibleName(l->text());
    for (QAbstractButton* b : finestra->findChildren<QAbstractButton*>())
        b->setAccessibleName(b->text());
}
