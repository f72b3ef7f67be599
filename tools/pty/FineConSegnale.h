#pragma once

class QCoreApplication;

// Ctrl-C, kill and a closed terminal end the event loop normally, so a simulator removes its
// link and its socket on the way out.
class FineConSegnale {
public:
    // False when the signals could not be taken over.
    static bool Installa(QCoreApplication& app);
};
