#include "kcs/program/QtAudioPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <cstring>
#include <fstream>

#include "kcs/common/RunError.h"

namespace kcs::program {

namespace {

constexpr int kInvalidFileFormat = 321;

}  // namespace

QtAudioPlayer::QtAudioPlayer() = default;
QtAudioPlayer::~QtAudioPlayer() = default;

bool QtAudioPlayer::available() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

void QtAudioPlayer::play(const std::filesystem::path& waveFile) {
    stop();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(waveFile, ec)) return;  // no file: silence
    std::ifstream in(waveFile, std::ios::binary);
    char header[12] = {};
    if (!in) throw RunError(err::PathFileAccess, "Cannot read " + waveFile.string());
    // The sound server would only fail later and out of sight: a file that is not a wave
    // file is said at once.
    if (!in.read(header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        throw RunError(kInvalidFileFormat, "Invalid file format: " + waveFile.string() + " is not a wave file");
    if (!available()) throw RunError(err::DeviceUnavailable, "Device unavailable: no audio output");
    if (!effect_) effect_ = std::make_unique<QSoundEffect>(QMediaDevices::defaultAudioOutput());
    effect_->setSource(QUrl::fromLocalFile(QString::fromStdString(waveFile.string())));
    effect_->play();
}

void QtAudioPlayer::stop() {
    if (effect_) effect_->stop();
}

}  // namespace kcs::program
