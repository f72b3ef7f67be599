#pragma once

#include "SchedaSms.h"

// "Lettura SMS": one archived message read from the archive browser: "Ok" (also Esc and the
// close box) or "Stampa SMS".
class FormMsgBox3 : public SchedaSms {
    Q_OBJECT
public:
    enum class Scelta { Ok, Stampa };

    explicit FormMsgBox3(QWidget* parent = nullptr);
    Scelta Risposta() const { return Premuto() == 1 ? Scelta::Stampa : Scelta::Ok; }
};
