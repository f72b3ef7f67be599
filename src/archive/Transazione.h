#pragma once

class Archivio;

// Writes that belong together reach the archive file all or none: what a failure, or the end of
// the program, interrupts before Conferma() is undone.
//     Transazione t(archivio);
//     ... add, edit, delete through the current recordset ...
//     t.Conferma();
class Transazione {
public:
    explicit Transazione(Archivio& archivio);
    ~Transazione();
    Transazione(const Transazione&) = delete;
    Transazione& operator=(const Transazione&) = delete;

    void Conferma();

private:
    Archivio& archivio_;
    bool aperta_ = false;
};
