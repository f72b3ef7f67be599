#pragma once

#include <QString>
#include <functional>

// Plays a wave file and returns when it has finished. Without an audio device, or when the file
// is missing or unreadable, it returns at once without a word: a sound is never worth a failure.
class Suono {
public:
    static void RiproduciSincrono(const QString& percorso);

    // Test hook: while installed, nothing is played; the function gets the file's path.
    using Ascoltatore = std::function<void(const QString&)>;
    static void InstallaHook(Ascoltatore a);
    static void RimuoviHook();
};
