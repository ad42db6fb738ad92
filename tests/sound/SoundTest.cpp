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

#include "kcs/common/RunError.h"
#include "kcs/program/QtAudioPlayer.h"
#include "kcs/test/Support.h"

using namespace kcs;

namespace {

constexpr int kRate = 44100;  // the sink's own rate (see pulse-fixture.sh)
constexpr const char* kStatement =
    "I like to spend time with my family, and I have never taken anything that was not mine.";

// A wave file of `seconds` of silence, 16-bit mono.
std::string silentWave(double seconds) {
    const auto bytes = static_cast<std::uint32_t>(seconds * kRate) * 2;
    auto le = [](std::uint32_t v, int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    return "RIFF" + le(36 + bytes, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(kRate, 4) + le(kRate * 2, 4) +
           le(2, 2) + le(16, 2) + "data" + le(bytes, 4) + std::string(bytes, '\0');
}

// The null sink's monitor, recorded into a wave file until stop(): its samples, 44100 a
// second.
struct Recording {
    test::TempDir dir;
    QProcess parec;
    Recording() {
        parec.setStandardInputFile(QProcess::nullDevice());
        parec.start(QStringLiteral("parec"),
                    {QStringLiteral("-d"), QStringLiteral("null.monitor"), QStringLiteral("--file-format=wav"),
                     QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"), QStringLiteral("--channels=1"),
                     QStringLiteral("--latency-msec=20"), QString::fromStdString((dir.path() / "rec.wav").string())});
        EXPECT_TRUE(parec.waitForStarted(5000));
        // Recording once a tenth of a second (of the silence that keeps the sink running)
        // has arrived.
        const auto file = dir.path() / "rec.wav";
        EXPECT_TRUE(QTest::qWaitFor([&] { std::error_code ec; return std::filesystem::file_size(file, ec) > 44 + kRate / 5 && !ec; }, 5000))
            << "parec records nothing";
    }
    std::vector<std::int16_t> stop() {
        ::kill(static_cast<pid_t>(parec.processId()), SIGINT);  // parec completes the file
        parec.waitForFinished(5000);
        const std::string wav = test::readFile(dir.path() / "rec.wav");
        std::vector<std::int16_t> s(wav.size() > 44 ? (wav.size() - 44) / 2 : 0);
        if (!s.empty()) std::memcpy(s.data(), wav.data() + 44, s.size() * 2);
        return s;
    }
};

// Loudness (root mean square) of samples [from, to) given in seconds from the start;
// a negative `from` counts from the end.
double rms(const std::vector<std::int16_t>& s, double from, double to = 1e9) {
    const auto at = [&](double t) {
        const double i = t < 0 ? double(s.size()) + t * kRate : t * kRate;
        return static_cast<std::size_t>(std::clamp(i, 0.0, double(s.size())));
    };
    double sum = 0;
    const std::size_t a = at(from), b = std::max(a, at(to));
    for (std::size_t i = a; i < b; ++i) sum += double(s[i]) * s[i];
    return b > a ? std::sqrt(sum / double(b - a)) : 0.0;
}

struct Sound : ::testing::Test {
    test::TempDir dir;
    std::filesystem::path statement = dir.path() / "Q001.wav";
    std::filesystem::path silence = dir.path() / "Silent.wav";
    program::QtAudioPlayer player;
    // Silence played on and on keeps the sink running, so the recording is one unbroken
    // time line even while the player plays nothing.
    QSoundEffect keepRunning;

    void SetUp() override {
        if (!qEnvironmentVariableIsSet("PULSE_SERVER")) GTEST_SKIP() << "no sound server of the tests' own";
        QProcess espeak;
        espeak.start(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), QStringLiteral("en-us"), QStringLiteral("-w"),
                                                   QString::fromStdString(statement.string()), QString::fromUtf8(kStatement)});
        if (!espeak.waitForFinished(20000) || espeak.exitCode() != 0) GTEST_SKIP() << "espeak-ng cannot make a statement";
        test::writeFile(silence, silentWave(0.5));
        ASSERT_TRUE(player.available());
        keepRunning.setSource(QUrl::fromLocalFile(QString::fromStdString(silence.string())));
        keepRunning.setLoopCount(QSoundEffect::Infinite);
        keepRunning.play();
        ASSERT_TRUE(QTest::qWaitFor([&] { return keepRunning.isPlaying(); }, 5000));
    }
    // Plays the statement and waits until the server is playing it.
    void startStatement() {
        player.play(statement);
        ASSERT_TRUE(QTest::qWaitFor([&] { return player.effect()->isPlaying(); }, 5000));
    }
};

}  // namespace

TEST_F(Sound, AStatementReachesTheSoundServer) {
    Recording rec;
    startStatement();
    QTest::qWait(1000);
    const auto samples = rec.stop();
    ASSERT_GT(samples.size(), std::size_t(kRate / 2)) << "nothing recorded";
    EXPECT_GT(rms(samples, 0), 300.0) << "the statement was not heard";
}

TEST_F(Sound, TheNextSoundOrStopCutsThePlayingOneOff) {
    // A focus change plays the next control's sound; here that is a silent wave file.
    for (bool byStop : {false, true}) {
        Recording rec;
        startStatement();
        QTest::qWait(600);
        if (byStop) player.stop();
        else player.play(silence);
        QTest::qWait(900);
        const auto samples = rec.stop();
        const char* how = byStop ? "stop()" : "the next sound";
        ASSERT_GT(samples.size(), std::size_t(kRate)) << how << ": nothing recorded";
        EXPECT_GT(rms(samples, 0, -0.9), 300.0) << how << ": the statement was not heard before";
        EXPECT_LT(rms(samples, -0.5), 30.0) << how << " did not cut the statement off";
    }
}

TEST(NoSoundServer, ThePlayerIsUnavailableAndPlayingIsASilentError) {
    test::TempDir dir;
    test::writeFile(dir.path() / "a.wav", std::string("RIFF\0\0\0\0WAVE", 12));
    test::writeFile(dir.path() / "b.wav", "not a wave");
    program::QtAudioPlayer player;
    EXPECT_FALSE(player.available());
    player.play(dir.path() / "missing.wav");  // no file: silence
    struct Case {
        const char* file;
        int error;
    } cases[] = {{"a.wav", err::DeviceUnavailable}, {"b.wav", 321}};
    for (const Case& c : cases) {
        try {
            player.play(dir.path() / c.file);
            ADD_FAILURE() << c.file;
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), c.error) << c.file;
        }
    }
}
