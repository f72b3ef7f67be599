#pragma once

#include "SchedaSms.h"

// The arrival notice: "Nuovo SMS Arrivato!" with number, name, date, time and text of one
// message. It plays notify.wav when it loads, before it is shown. "Ok" lets the next message be
// announced; so do Esc and the close box, which otherwise would hide the notice for good.
class FormMsgBox1 : public SchedaSms {
    Q_OBJECT
public:
    // `visualizzaSmsArrivati` is the main window's flag that "Ok" sets.
    FormMsgBox1(const QString& cartellaProgramma, bool& visualizzaSmsArrivati,
                QWidget* parent = nullptr);

    void Command1_Click(int index) override;
    void reject() override;
    // Plays notify.wav and returns once it has played.
    void Suona();

private:
    QString cartellaProgramma_;
    bool& visualizzaSmsArrivati_;
};
