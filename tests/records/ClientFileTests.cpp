#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "kcs/app/ClientStore.h"
#include "kcs/records/ClientFile.h"
#include "kcs/test/Clients.h"
#include "kcs/test/Support.h"
#ifdef KCS_WITH_MENUS
#include "kcs/menus/DelNames.h"
#endif

namespace {

using namespace kcs::records;
using kcs::test::errorNumber;
using kcs::test::readFile;
using kcs::test::writeFile;

TEST(ClientRecord, NamesArePaddedNeverCutAndStoredOneBytePerCharacterAndItemsAreBoundsChecked) {
    ClientRecord r;
    ASSERT_TRUE(r.set(Field::Name, "Smith"));
    EXPECT_EQ(r.raw(Field::Name), "Smith                    ");
    const std::string exact25 = "Abcdefghij Klmnopqrst Uvw";
    ASSERT_TRUE(r.set(Field::Name, exact25));
    EXPECT_EQ(r.raw(Field::Age), "   ");  // the neighbour is untouched
    EXPECT_FALSE(r.set(Field::Name, exact25 + "x"));
    EXPECT_EQ(r.text(Field::Name), exact25);

    ASSERT_TRUE(r.setUtf8(Field::Name, "José Muñoz"));
    EXPECT_EQ(r.text(Field::Name), "Jos\xE9 Mu\xF1oz");
    EXPECT_EQ(r.textUtf8(Field::Name), "José Muñoz");
    // 25 accented characters fit although their UTF-8 form is 50 bytes.
    EXPECT_TRUE(r.setUtf8(Field::Name, "ñññññññññññññññññññññññññ"));
    const auto before = r;
    EXPECT_FALSE(r.setUtf8(Field::Name, "Łukasz"));  // not in the code page: refused, nothing stored
    EXPECT_EQ(r, before);
    EXPECT_THROW(r.setAnswer(159, '1'), std::out_of_range);
    EXPECT_THROW((void)r.answer(0), std::out_of_range);
}

// Records whose every byte says which record it is, so any misplaced byte shows.
std::string fileOf(int records) {
    std::string s;
    for (int n = 1; n <= records; ++n)
        for (int i = 0; i < kRecordLength; ++i) s += static_cast<char>('A' + (n + i) % 26);
    return s;
}

std::string asString(const ClientRecord& r) { return std::string(r.bytes().begin(), r.bytes().end()); }

class ClientFileTest : public ::testing::Test {
protected:
    void load(const std::string& content) {
        writeFile(file, content);
        report = LoadClients(table, file);
    }
    kcs::test::TempDir dir;
    std::filesystem::path file = dir / kClientFileName;
    ClientTable table;
    LoadReport report;
};

// How a file of any length loads, and what a save leaves around the record it writes, is
// the client-file fuzzer's (its seeds include partial records of 117 and 118 bytes).
TEST_F(ClientFileTest, AMissingFileIsCreatedEmptyAndALoadReplacesTheWholeTable) {
    report = LoadClients(table, file);
    EXPECT_EQ(table.NumClients + table.CurClient + report.recordsInFile, 0);
    EXPECT_EQ(readFile(file), "");
    table.NumClients = 9;
    table.Clients[7].set(Field::Name, "stale");
    load(fileOf(3));
    EXPECT_EQ(table.NumClients, 3);
    EXPECT_TRUE(table.Clients[7].isBlank());
}

TEST_F(ClientFileTest, MoreThan51RecordsLoadsTheFirst51ReportsAndASaveKeepsTheRest) {
    const std::string original = fileOf(60) + "xyz";
    load(original);
    EXPECT_EQ(std::tuple(report.overCapacity, table.NumClients), std::tuple(true, 51));
    EXPECT_NE(overCapacityMessage(report).find("60"), std::string::npos);
    table.Clients[2].set(Field::Name, "Changed");
    SaveClient(table, 2, file);
    EXPECT_EQ(readFile(file),
              original.substr(0, kRecordLength) + asString(table.Clients[2]) + original.substr(2 * kRecordLength));
}

TEST_F(ClientFileTest, SlotsOutsideTheTableOrLeavingAGapAreRefusedAndWriteNothing) {
    load(fileOf(3));
    for (int slot : {0, -1, 5, 52, 300}) EXPECT_THROW(SaveClient(table, std::int16_t(slot), file), std::out_of_range) << slot;
    EXPECT_EQ(readFile(file), fileOf(3));
    load(fileOf(51));
    EXPECT_THROW(SaveClient(table, 52, file), std::out_of_range);
    EXPECT_EQ(readFile(file), fileOf(51));
}

// A failing write is the disk-fault test's.
TEST_F(ClientFileTest, FileErrorsCarryTheirNumbers) {
    EXPECT_EQ(errorNumber([&] { LoadClients(table, dir / "no-such-folder" / kClientFileName); }), 76);
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(errorNumber([&] { LoadClients(table, dir / "folder"); }), 75);
}

// A write of the client file killed at any moment leaves it in one of the states the
// operation passes through: every record as it was or as saved, in the order of the writes,
// never mixed, cut, lost or doubled. For each kind of write a child process runs it once and
// is killed at a random moment. KCS_KILL_TRIALS sets the trials per kind (tools/kill-campaign.sh).
using Clock = std::chrono::steady_clock;
constexpr std::int16_t kClients = 5;

// Only a record whose name is not yet deleted has one to delete.
ClientRecord named(const std::string& name) {
    ClientRecord r = kcs::test::recordsNamed({name})[0];
    r.set(Field::NameDeleted, "0");
    return r;
}

#ifdef KCS_WITH_MENUS
struct AnswerYes : kcs::app::MessageBoxes {
    kcs::app::MsgAnswer message(const std::string&, const std::string&, kcs::app::MsgIcon, kcs::app::MsgButtons) override {
        return kcs::app::MsgAnswer::Yes;
    }
};
#endif

struct Kind {
    const char* name;
    void (*run)(kcs::app::ClientStore& store, int trial);  // the child runs it once per trial
};

const Kind kKinds[] = {
    {"Rewrite",
     [](kcs::app::ClientStore& store, int trial) {
         store.update(static_cast<std::int16_t>(1 + trial % kClients), named("Rewritten " + std::to_string(trial)));
     }},
    {"AnswerSheet",
     [](kcs::app::ClientStore& store, int trial) {
         store.save(store.NumClients() + 1, named("New client " + std::to_string(trial)));
     }},
#ifdef KCS_WITH_MENUS
    {"DeleteNames",
     [](kcs::app::ClientStore& store, int) {
         AnswerYes yes;
         kcs::menus::DeleteClientNames(store, yes);
     }},
#endif
};

struct KilledWrites : ::testing::TestWithParam<Kind> {};

TEST_P(KilledWrites, NeverLeaveADamagedRecord) {
    const Kind& kind = GetParam();
    kcs::test::TempDir dir(kcs::test::memoryTempBase());  // quick enough for thousands of trials
    const auto file = dir / kClientFileName;
    std::vector<ClientRecord> before;
    for (int n = 1; n <= kClients; ++n) before.push_back(named("Client " + std::to_string(n)));
    const std::string original = kcs::test::clientFileBytes(before);

    kcs::app::ClientStore store;
    auto useOriginal = [&] {
        kcs::test::writeFile(file, original);
        ClientTable table;
        const auto load = LoadClients(table, file);
        store.useDrive("drive", file, 'b', table, load);
    };
    // The states a write passes through: records replaced whole, one after another, from
    // the file before to what an uninterrupted run leaves. Timed (the quickest run), so the
    // kills land before, during and after the operation.
    long perRun = 1000000;
    auto states = [&](int trial) {
        useOriginal();
        const auto t0 = Clock::now();
        kind.run(store, trial);
        perRun = std::min<long>(perRun, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count());
        const std::string after = kcs::test::readFile(file);
        std::vector<std::string> s{original};
        for (std::size_t at = kRecordLength; at <= after.size(); at += kRecordLength) {
            std::string next = after.substr(0, at) + original.substr(std::min(original.size(), at));
            if (next != s.back()) s.push_back(next);
        }
        return s;
    };

    const unsigned seed = std::random_device{}();
    std::mt19937 rng(seed);
    SCOPED_TRACE(std::string(kind.name) + ", seed " + std::to_string(seed));
    // A fixed number of trials, however busy the machine.
    const char* trialsText = std::getenv("KCS_KILL_TRIALS");
    const int trials = trialsText ? std::max(1, std::atoi(trialsText)) : 200;
    int damaged = 0, untouched = 0, partly = 0, done = 0;
    for (int trial = 0; trial < trials; ++trial) {
        const auto passes = states(trial);
        useOriginal();
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                const char go = 1;
                if (::write(ready[1], &go, 1) != 1) ::_exit(4);
                kind.run(store, trial);
            } catch (...) {
                ::_exit(3);
            }
            for (;;) ::pause();  // waits for its kill
        }
        char go = 0;
        ASSERT_EQ(::read(ready[0], &go, 1), 1);  // the child is about to start writing
        ::close(ready[0]);
        ::close(ready[1]);
        // A sleep of 0 already takes ~50 us.
        ::usleep(static_cast<useconds_t>(std::uniform_int_distribution<long>(0, 2 * std::max(20L, perRun) + 200)(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writing child stopped on its own, status " << status;

        const auto found = std::find(passes.begin(), passes.end(), kcs::test::readFile(file));
        if (found == passes.end()) {
            if (++damaged <= 3) ADD_FAILURE() << "trial " << trial << ": the file is none of the states the write passes through";
        } else {
            ++(found == passes.begin() ? untouched : found + 1 == passes.end() ? done : partly);
        }
    }
    EXPECT_EQ(damaged, 0);
    // Both outcomes seen: the kills really did land on both sides of the writes.
    EXPECT_GT(untouched, 0);
    EXPECT_GT(done + partly, 0);
    std::printf("%s: %d trials, %d damaged (%d untouched, %d part-way, %d complete; one run ~%ld us)\n", kind.name,
                trials, damaged, untouched, partly, done, perRun);
}

INSTANTIATE_TEST_SUITE_P(SaveDurability, KilledWrites, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
