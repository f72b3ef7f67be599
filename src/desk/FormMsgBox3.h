#pragma once

#include "SchedaSms.h"

// "Lettura SMS": one archived message read from the archive browser. Answers 1 "Ok" (also Esc
// and the close box) and 7 "Stampa SMS".
class FormMsgBox3 : public SchedaSms {
    Q_OBJECT
public:
    FormMsgBox3(int& rispformbox, QWidget* parent = nullptr);
};
