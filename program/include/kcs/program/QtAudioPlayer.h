#pragma once
// The spoken statements through the system's sound server (Qt Multimedia): one sound at
// a time, played in the background, cut off by the next one or by stop(). A missing file
// is silence; a file that is not a wave file is refused with an error to show.

#include <memory>

#include "kcs/app/Services.h"

class QSoundEffect;

namespace kcs::program {

class QtAudioPlayer : public app::AudioPlayer {
public:
    QtAudioPlayer();
    ~QtAudioPlayer() override;

    // True when the system has an audio output.
    bool available() override;
    // kcs::RunError 75 for a file that cannot be read, 321 for one that is not a wave
    // file, 68 without an audio output.
    void play(const std::filesystem::path& waveFile) override;
    void stop() override;

    // For measuring: the effect that plays (null before the first sound).
    QSoundEffect* effect() const { return effect_.get(); }

private:
    std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace kcs::program
