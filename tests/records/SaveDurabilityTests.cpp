// A save killed at any moment must leave every other record byte-identical, the saved
// record either old or new, and the file a whole number of records. A child process
// saves in a loop and is killed at random moments, many times over.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "kcs/records/ClientFile.h"
#include "kcs/test/Support.h"

namespace {

using namespace kcs::records;
using Clock = std::chrono::steady_clock;

std::string bytesOf(const ClientRecord& r) { return std::string(r.bytes().begin(), r.bytes().end()); }

ClientRecord makeRecord(const std::string& name, char answer) {
    ClientRecord r;
    r.set(Field::Name, name);
    r.set(Field::Answers, std::string(kAnswerCount, answer));
    r.set(Field::EditCount, "0");
    r.set(Field::NameDeleted, "0");
    return r;
}

TEST(SaveDurability, KillingASaveAtRandomMomentsNeverDamagesTheFile) {
    kcs::test::TempDir dir(kcs::test::memoryTempBase());  // quick enough for hundreds of rounds
    const auto file = dir / kClientFileName;
    std::string expected;
    for (int n = 1; n <= 5; ++n) expected += bytesOf(makeRecord("Client " + std::to_string(n), char('0' + n)));
    kcs::test::writeFile(file, expected);

    // How long one save takes here, so the kills land before, during and after saves.
    ClientTable table;
    LoadClients(table, file);
    const auto t0 = Clock::now();
    for (int i = 0; i < 5; ++i) SaveClient(table, 1, file);
    const auto perSave = std::max<long>(50, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count() / 5);

    const unsigned seed = std::random_device{}();
    std::mt19937 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::uniform_int_distribution<long> delay(0, 6 * perSave + 2000);

    // A fixed number of rounds, however busy the machine: under load each round only
    // takes longer, it never counts for less.
    int rounds = 0, sawOld = 0, sawNew = 0;
    for (; rounds < 200; ++rounds) {
        LoadClients(table, file);
        // Mostly rewrites of existing records; every fourth round an append, up to 8 records.
        const auto slot = static_cast<std::int16_t>(rounds % 4 == 3 ? std::min(table.NumClients + 1, 8)
                                                                    : 1 + rounds % table.NumClients);
        const auto a = makeRecord("Round " + std::to_string(rounds) + " A", '1');
        const auto b = makeRecord("Round " + std::to_string(rounds) + " B", '2');

        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                for (unsigned i = 0;; ++i) {
                    table.Clients[static_cast<std::size_t>(slot)] = (i % 2) ? b : a;
                    SaveClient(table, slot, file);
                }
            } catch (...) {
                ::_exit(3);
            }
        }
        ::usleep(static_cast<useconds_t>(delay(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped on its own, status " << status;

        const std::string after = kcs::test::readFile(file);
        ASSERT_EQ(after.size() % kRecordLength, 0u) << "round " << rounds;
        const std::size_t offset = static_cast<std::size_t>(slot - 1) * kRecordLength;
        const bool appended = offset == expected.size();
        ASSERT_TRUE(after.size() == expected.size() || (appended && after.size() == expected.size() + kRecordLength))
            << "round " << rounds << ": length " << after.size();
        ASSERT_EQ(after.substr(0, offset), expected.substr(0, offset)) << "round " << rounds;
        if (!appended) { ASSERT_EQ(after.substr(offset + kRecordLength), expected.substr(offset + kRecordLength)) << "round " << rounds; }

        const std::string saved = after.substr(offset, kRecordLength);
        const std::string old = appended ? std::string() : expected.substr(offset, kRecordLength);
        if (saved == old) {
            ++sawOld;
        } else {
            ASSERT_TRUE(saved == bytesOf(a) || saved == bytesOf(b)) << "round " << rounds << ": record " << slot << " mixed";
            ++sawNew;
        }
        expected = after;
    }
    // Both outcomes seen: the kills really did land on both sides of a save.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    std::printf("%d rounds, %d old, %d new, one save ~%ld us\n", rounds, sawOld, sawNew, perSave);
}

}  // namespace
