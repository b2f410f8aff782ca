// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The smallest program that does what the game does before its window shows:
// a QApplication, an attempt to open the audio device, one 640x480 window.
// The benchmark compares the game against it.
//
// Two variables of the environment turn it into the floor of the effect
// benchmark:
//   MINIMAL_EFFECT=FILE.wav   loaded at start; every key release plays it
//                             with Mix_PlayChannel on channel 0, as the game
//                             plays its effects
//   MINIMAL_BUFFER=FRAMES     the device buffer, 1024 (the game's) by default

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>

namespace {

class Window : public QWidget {
public:
    explicit Window(Mix_Chunk* effect) : effect_(effect) {}

protected:
    void keyReleaseEvent(QKeyEvent* e) override
    {
        if (effect_ && !e->isAutoRepeat())
            Mix_PlayChannel(0, effect_, 0);
        QWidget::keyReleaseEvent(e);
    }

private:
    Mix_Chunk* effect_;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    const char* frames = std::getenv("MINIMAL_BUFFER");
    const int buffer = frames ? std::atoi(frames) : 1024;
    // Without a sound card this fails; the game carries on silently, so do we.
    bool audio =
        SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, buffer) == 0;

    Mix_Chunk* effect = nullptr;
    if (const char* wav = std::getenv("MINIMAL_EFFECT"); audio && wav) {
        Mix_AllocateChannels(1);
        effect = Mix_LoadWAV(wav);
    }

    Window window(effect);
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setFixedSize(640, 480);
    window.show();

    int rc = app.exec();
    if (effect)
        Mix_FreeChunk(effect);
    if (audio)
        Mix_CloseAudio();
    SDL_Quit();
    return rc;
}
