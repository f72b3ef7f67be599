#pragma once

#include <QStringList>

// Records the sounds played for as long as it lives (nothing is really played).
class RegistroSuoni {
public:
    RegistroSuoni();
    ~RegistroSuoni();
    RegistroSuoni(const RegistroSuoni&) = delete;
    RegistroSuoni& operator=(const RegistroSuoni&) = delete;
    QStringList suonati;
};
