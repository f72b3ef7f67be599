#pragma once

// The program from start to end: the application, the shared state, the working parts
// (Applicazione) and the main window over them.
class Avvio {
public:
    static int Esegui(int argc, char** argv);
};
