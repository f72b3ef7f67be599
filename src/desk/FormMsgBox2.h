#pragma once

#include "SchedaSms.h"

// "Gestione SMS": take a pending message in hand. Answers 6 "Si", 7 "No" (delete it), 5
// "Annulla" (also Esc and the close box).
class FormMsgBox2 : public SchedaSms {
    Q_OBJECT
public:
    FormMsgBox2(int& rispformbox, QWidget* parent = nullptr);
};
