#pragma once

#include <QString>
#include <functional>

// Opens a document or a folder with the desktop's own viewer.
class Documento {
public:
    // Returns false when the file is missing or no viewer could be started.
    static bool Apri(const QString& percorso);

    // Test hook: while installed, nothing is started; the function gets the path and answers.
    using Apritore = std::function<bool(const QString&)>;
    static void InstallaHook(Apritore a);
    static void RimuoviHook();
};
