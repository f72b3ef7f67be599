#pragma once

#include "platform/Guardia.h"

#include <QDialog>
#include <QPushButton>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;
class RapportoBande;
class StampanteCorrente;

// The print preview of a page report: the pages as they will come out of the current printer,
// a button that prints them there, and one that closes the window. It covers the whole width of
// the screen and 95 % of its height.
class FormAnteprima : public QDialog {
    Q_OBJECT
public:
    FormAnteprima(RapportoBande& rapporto, StampanteCorrente& stampante,
                  const QString& nomeDocumento, QWidget* parent = nullptr);
    ~FormAnteprima() override;

    // Prints the report on the current printer; false when the printer could not be started.
    bool BtnStampa_Click();
    void BtnChiudi_Click();

    int Pagine() const;

    QPushButton* BtnStampa;
    QPushButton* BtnChiudi;
    QPrintPreviewWidget* Anteprima;

private:
    RapportoBande& rapporto_;
    StampanteCorrente& stampante_;
    QString nomeDocumento_;
    // The buttons and the preview's painting run through it.
    Guardia guardia_;
    std::unique_ptr<QPrinter> stampanteAnteprima_;
};
