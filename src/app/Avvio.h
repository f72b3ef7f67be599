#pragma once

// The program from start to end: the application, the shared state, the main window.
class Avvio {
public:
    static int Esegui(int argc, char** argv);
};
