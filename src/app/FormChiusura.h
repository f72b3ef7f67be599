#pragma once

#include <QWidget>

// Shown while the modem is switched off at the end of the program.
class FormChiusura : public QWidget {
    Q_OBJECT
public:
    explicit FormChiusura(QWidget* parent = nullptr);
};
