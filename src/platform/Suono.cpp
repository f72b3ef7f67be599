#include "Suono.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace {
Suono::Ascoltatore& hook() {
    static Suono::Ascoltatore h;
    return h;
}
} // namespace

void Suono::RiproduciSincrono(const QString& percorso) {
    if (hook()) {
        hook()(percorso);
        return;
    }
    if (!QFileInfo(percorso).isFile() || QMediaDevices::audioOutputs().isEmpty())
        return;

    QSoundEffect effetto;
    QEventLoop attesa;
    QObject::connect(&effetto, &QSoundEffect::statusChanged, &attesa, [&] {
        if (effetto.status() == QSoundEffect::Ready)
            effetto.play();
        else if (effetto.status() == QSoundEffect::Error)
            attesa.quit();
    });
    QObject::connect(&effetto, &QSoundEffect::playingChanged, &attesa, [&] {
        if (!effetto.isPlaying())
            attesa.quit();
    });
    // A broken audio stack must not hold the program: a notification is a few seconds at most.
    QTimer::singleShot(8000, &attesa, &QEventLoop::quit);
    effetto.setSource(QUrl::fromLocalFile(QFileInfo(percorso).absoluteFilePath()));
    if (effetto.status() == QSoundEffect::Error)
        return;
    attesa.exec(QEventLoop::ExcludeUserInputEvents);
}

void Suono::InstallaHook(Ascoltatore a) {
    hook() = std::move(a);
}

void Suono::RimuoviHook() {
    hook() = nullptr;
}
