#pragma once

#include "platform/Guardia.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <array>

// The arrival notice: "Nuovo SMS Arrivato!" with number, name, date, time and text of one
// message. It plays notify.wav when it loads, before it is shown. "Ok" lets the next message be
// announced.
class FormMsgBox1 : public QDialog {
    Q_OBJECT
public:
    // `visualizzaSmsArrivati` is the main window's flag that "Ok" sets.
    FormMsgBox1(const QString& cartellaProgramma, bool& visualizzaSmsArrivati,
                QWidget* parent = nullptr);

    QLabel* Label2; // number
    QLabel* Label3; // name
    QLabel* Label4; // date
    QLabel* Label5; // time
    QLabel* Label6; // text
    std::array<QPushButton*, 1> Command1{};

    void Command1_Click(int index);
    // Plays notify.wav and returns once it has played.
    void Suona();

private:
    QString cartellaProgramma_;
    bool& visualizzaSmsArrivati_;
    // The button runs through it.
    Guardia guardia_;
};
