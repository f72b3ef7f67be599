#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh program folder for one test case: a temporary folder holding a new archivio.mdb made
// by the real archive maker from the project's schema, and a copy of notify.wav.
class CartellaDiProva {
public:
    CartellaDiProva();
    const QString& percorso() const { return percorso_; }
    QString file(const QString& nome) const;
    bool valida() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
    QString percorso_;
};
