#pragma once

class QCoreApplication;

// Makes Qt's own texts (message-box buttons, standard dialogs) Italian: "Sì", "No", "Annulla".
class TraduzioniQt {
public:
    // Returns false when the translation files are not installed (the texts then stay English).
    static bool Installa(QCoreApplication& app);
};
