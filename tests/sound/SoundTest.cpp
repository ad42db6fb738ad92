// The real player against a real sound server: the tests' own PulseAudio with a null
// sink (pulse-fixture.sh). What reaches the sink is recorded from its monitor with parec
// and measured: a statement is heard, and the next sound or stop() silences it at once.
#include <gtest/gtest.h>

#include <QProcess>
#include <QSoundEffect>
#include <QTest>
#include <QUrl>
#include <csignal>
#include <cmath>
#include <cstring>
#include <functional>

#include "kcs/common/RunError.h"
#include "kcs/program/QtAudioPlayer.h"
#include "kcs/test/Support.h"

using namespace kcs;

namespace {

constexpr int kRate = 44100;  // the sink's own rate (see pulse-fixture.sh)
constexpr const char* kStatement =
    "I like to spend time with my family, and I have never taken anything that was not mine.";

// The null sink's monitor recorded while `play` runs: its samples, 44100 a second.
std::vector<std::int16_t> recorded(const std::function<void()>& play) {
    QProcess parec;
    parec.setStandardInputFile(QProcess::nullDevice());
    parec.start(QStringLiteral("parec"), QStringLiteral("-d null.monitor --raw --format=s16le --rate=44100 --channels=1 "
                                                        "--latency-msec=20").split(u' '));
    // Recording once a tenth of a second (of the silence that keeps the sink running) has come.
    EXPECT_TRUE(QTest::qWaitFor([&] { return parec.bytesAvailable() > kRate / 5; }, 5000)) << "parec records nothing";
    play();
    ::kill(static_cast<pid_t>(parec.processId()), SIGINT);
    parec.waitForFinished(5000);
    const QByteArray raw = parec.readAllStandardOutput();
    std::vector<std::int16_t> samples(static_cast<std::size_t>(raw.size()) / 2);
    if (!samples.empty()) std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    return samples;
}

// Loudness (root mean square) of the samples from `from` to `to` seconds before the end.
double rms(const std::vector<std::int16_t>& s, double from, double to) {
    const auto at = [&](double t) { return s.size() - std::min(s.size(), static_cast<std::size_t>(t * kRate)); };
    double sum = 0;
    for (std::size_t i = at(from); i < at(to); ++i) sum += double(s[i]) * s[i];
    return at(to) > at(from) ? std::sqrt(sum / double(at(to) - at(from))) : 0.0;
}

}  // namespace

TEST(Sound, TheNextSoundOrStopCutsThePlayingOneOff) {
    if (!qEnvironmentVariableIsSet("PULSE_SERVER")) GTEST_SKIP() << "no sound server of the tests' own";
    const test::TempDir dir;
    const auto statement = dir.path() / "Q001.wav";
    const auto silence = dir.path() / "Silent.wav";
    const auto made = test::runCommand("espeak-ng -v en-us -w '" + statement.string() + "' '" + kStatement + "'", dir.path());
    if (made.status != 0) GTEST_SKIP() << "espeak-ng cannot make a statement: " << made.err;
    // The statement's wave file with its samples silenced: the same rate, nothing heard.
    std::string wave = test::readFile(statement);
    std::fill(wave.begin() + std::min<std::ptrdiff_t>(44, std::ssize(wave)), wave.end(), '\0');
    test::writeFile(silence, wave);
    program::QtAudioPlayer player;
    ASSERT_TRUE(player.available());
    // Silence played on and on keeps the sink running, so the recording is one unbroken
    // time line even while the player plays nothing.
    QSoundEffect keepRunning;
    keepRunning.setSource(QUrl::fromLocalFile(QString::fromStdString(silence.string())));
    keepRunning.setLoopCount(QSoundEffect::Infinite);
    keepRunning.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return keepRunning.isPlaying(); }, 5000));

    // A focus change plays the next control's sound; here that is a silent wave file.
    for (bool byStop : {false, true}) {
        const auto samples = recorded([&] {
            player.play(statement);
            ASSERT_TRUE(QTest::qWaitFor([&] { return player.effect()->isPlaying(); }, 5000));
            QTest::qWait(600);
            if (byStop) player.stop();
            else player.play(silence);
            QTest::qWait(900);
        });
        const char* how = byStop ? "stop()" : "the next sound";
        ASSERT_GT(samples.size(), std::size_t(kRate)) << how << ": nothing recorded";
        EXPECT_GT(rms(samples, 1e9, 0.9), 300.0) << how << ": the statement was not heard before";
        EXPECT_LT(rms(samples, 0.5, 0), 30.0) << how << " did not cut the statement off";
    }
}

TEST(NoSoundServer, ThePlayerIsUnavailableAndPlayingIsASilentError) {
    test::TempDir dir;
    test::writeFile(dir.path() / "a.wav", std::string("RIFF\0\0\0\0WAVE", 12));
    test::writeFile(dir.path() / "b.wav", "not a wave");
    program::QtAudioPlayer player;
    EXPECT_FALSE(player.available());
    player.play(dir.path() / "missing.wav");  // no file: silence
    EXPECT_EQ(test::errorNumber([&] { player.play(dir.path() / "a.wav"); }), err::DeviceUnavailable);
    EXPECT_EQ(test::errorNumber([&] { player.play(dir.path() / "b.wav"); }), 321);
}
