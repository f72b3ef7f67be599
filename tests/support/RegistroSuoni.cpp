#include "RegistroSuoni.h"

#include "platform/Suono.h"

RegistroSuoni::RegistroSuoni() {
    Suono::InstallaHook([this](const QString& percorso) { suonati.append(percorso); });
}

RegistroSuoni::~RegistroSuoni() {
    Suono::RimuoviHook();
}
