#pragma once

#include "SchedaSms.h"

// "Archiviazione SMS": archive a message taken in hand. Answers 6 "Si", 7 "Annulla" (also Esc
// and the close box), 5 "Stampa SMS".
class FormMsgBox4 : public SchedaSms {
    Q_OBJECT
public:
    FormMsgBox4(int& rispformbox, QWidget* parent = nullptr);
};
