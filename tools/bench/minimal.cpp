// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The smallest program that does what the game does before its window shows:
// a QApplication, an attempt to open the audio device, one 640x480 window.
// The benchmark compares the game against it.

#include <QApplication>
#include <QWidget>

#include <SDL.h>
#include <SDL_mixer.h>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    // Without a sound card this fails; the game carries on silently, so do we.
    bool audio =
        SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setFixedSize(640, 480);
    window.show();

    int rc = app.exec();
    if (audio)
        Mix_CloseAudio();
    SDL_Quit();
    return rc;
}
