#include "ModaleRimasta.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

void ChiudiModaleRimasta(QObject* ambito, int ms) {
    QTimer::singleShot(ms, ambito, [] {
        if (auto* finestra = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            finestra->reject();
    });
}
