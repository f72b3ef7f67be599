#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

// "Informazioni sul Prodotto": what the program is, its version, and the libraries it is built
// on with their licences, each with the version found at run time.
class FormInformazioni : public QDialog {
    Q_OBJECT
public:
    explicit FormInformazioni(QWidget* parent = nullptr);

    // One line per library: name, version in use, licence.
    static QStringList Librerie();

    QLabel* LblNome;
    QLabel* LblVersione;
    QLabel* LblDescrizione;
    QLabel* LblLibrerie;
    QPushButton* CmdOk;
};
