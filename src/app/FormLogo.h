#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

// The splash shown while the program starts: "  Caricamento in Corso." growing by one dot every
// half second.
class FormLogo : public QWidget {
    Q_OBJECT
public:
    explicit FormLogo(QWidget* parent = nullptr);

    QLabel* LblCaricamento;
    QTimer Timer1;

    void Timer1_Timer();
};
