// Every write of the program meets, at each of its system calls in turn, a disk that is
// full, fails, turns read-only or vanishes. Afterwards the error says so (its number is
// the one the supervisor's message is chosen by), nothing reports success, and the files
// hold either what they held before or the whole new content: never a mixture, never a
// changed neighbour.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <map>

#include "kcs/app/ClientStore.h"
#include "kcs/app/DataDrive.h"
#include "kcs/app/Settings.h"
#include "kcs/common/RunError.h"
#include "kcs/common/SysCalls.h"
#include "kcs/report/PrintReport.h"
#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"

namespace {

namespace fs = std::filesystem;
using namespace kcs;

// The run-time error number each fault must be reported with.
const std::map<int, int> kFaults = {{ENOSPC, err::DiskFull}, {EIO, err::DeviceIO}, {EROFS, err::PermissionDenied},
                                    {ENODEV, err::DiskNotReady}, {ENXIO, err::DiskNotReady}};

// Keeps the pages of every job it is given.
struct JobList : report::Printer {
    std::vector<std::vector<std::string>> jobs;
    void printPages(const std::string&, const std::vector<std::string>& pages) override { jobs.push_back(pages); }
    void printRaw(const std::string&, const std::string& bytes) override { jobs.push_back({bytes}); }
};

// A program folder with the data files and a data drive of three clients.
struct World {
    JobList printer;
    test::TempDir dir;
    fs::path program = dir / "program";
    fs::path drive = dir / "drive";
    app::Paths paths = app::Paths::of(program);
    app::ClientStore store;
    app::DriveFiles driveFiles;
    const report::ReportOptions options{program, 'b', false};

    World() {
        fs::create_directories(program);
        test::FixtureData{}.write(program);
        test::writeFile(program / "kcstest.ini", "[Path]\r\nFilePath=drive\r\n");
        test::makeDrive(drive, {"Ann Lee", "Bob Roe", "Cy Doe"});
        if (app::CheckDataDisk(store, paths, drive.string(), driveFiles) != app::DiskCheck::Accepted) std::abort();
    }
    std::string clientFile() const { return test::readFile(drive / "DATA401.KCS"); }
};

records::ClientRecord changed(const records::ClientRecord& r, const char* name) {
    auto c = r;
    c.set(records::Field::Name, name);
    c.set(records::Field::Answers, std::string(158, '1'));
    return c;
}

// Every write; `check` runs after a fault and after a fault-free run, with the bytes the
// client file held before.
struct Write {
    const char* name;
    std::function<void(World&)> run;
    std::function<void(World&, const std::string& before, bool failed)> check;
};

const Write kWrites[] = {
    {"client record saved", [](World& w) { w.store.update(2, changed(w.store.record(2), "Changed")); },
     [](World& w, const std::string& before, bool) {
         const auto bytes = [](const records::ClientRecord& r) { return std::string(r.bytes().begin(), r.bytes().end()); };
         const std::string now = w.clientFile();
         // Memory holds the old record or the changed one: either way, this is the changed one.
         const std::string saved = std::string(before).replace(235, 235, bytes(changed(w.store.record(2), "Changed")));
         EXPECT_TRUE(now == before || now == saved) << "old or new, nothing between";
         EXPECT_EQ(bytes(w.store.record(2)), now.substr(235, 235)) << "memory matches the file";
     }},
    {"new client appended", [](World& w) { w.store.save(4, changed(w.store.record(1), "New Client")); },
     [](World& w, const std::string& before, bool failed) {
         const std::string now = w.clientFile();
         EXPECT_TRUE(now == before || (now.size() == before.size() + 235 && now.compare(0, before.size(), before) == 0));
         EXPECT_EQ(static_cast<std::size_t>(w.store.NumClients()) * 235, now.size()) << "memory matches the file";
         if (failed) {  // trying again adds the client once, whether or not it had landed
             w.store.save(4, changed(w.store.record(1), "New Client"));
             EXPECT_EQ(w.clientFile().size(), before.size() + 235);
         }
     }},
    {"client file created on a new drive",
     [](World& w) {
         fs::create_directories(w.dir / "fresh");
         records::ClientTable table;
         records::LoadClients(table, w.dir / "fresh" / "DATA401.KCS");
     },
     [](World& w, const std::string&, bool) {
         const fs::path f = w.dir / "fresh" / "DATA401.KCS";
         EXPECT_TRUE(!fs::exists(f) || fs::file_size(f) == 0);
     }},
    {"settings file", [](World& w) { app::Settings(w.program / "kcstest.ini").SaveINIFilePath("/media/other"); },
     [](World& w, const std::string&, bool) {
         const std::string now = test::readFile(w.program / "kcstest.ini");
         EXPECT_TRUE(now == "[Path]\r\nFilePath=drive\r\n" || now == "[Path]\r\nFilePath=/media/other\r\n") << now;
     }},
    {"report file", [](World& w) { report::ScoreAndReport(w.store.table(), 1, w.options); },
     [](World& w, const std::string&, bool failed) {
         const fs::path f = w.program / "REPORT.PRN";
         if (failed) {
             EXPECT_FALSE(fs::exists(f)) << "no report rather than part of one";
         } else {
             EXPECT_EQ(test::readFile(f), report::ComposeReport(w.store.table(), 1, w.options));
         }
     }},
    {"print all: staging files and the report file",
     [](World& w) { report::PrintReports(w.store.table(), {1, 2, 3}, w.options, false, w.printer); },
     [](World& w, const std::string&, bool failed) {
         // Whatever was printed is each client's whole report, in order; nothing else.
         EXPECT_LE(w.printer.jobs.size(), 3u);
         EXPECT_TRUE(failed || w.printer.jobs.size() == 3u) << w.printer.jobs.size();
         for (std::size_t i = 0; i < w.printer.jobs.size(); ++i) {
             const std::string whole = report::ComposeReport(w.store.table(), static_cast<std::int16_t>(i + 1), w.options);
             EXPECT_EQ(w.printer.jobs[i], report::SplitReportPages(std::string_view(whole).substr(0, whole.size() - 1)))
                 << "job " << i + 1;
         }
     }},
    {"drive write test",
     [](World& w) {
         test::makeDrive(w.dir / "other", {"Dee Fox"});
         app::CheckDataDisk(w.store, w.paths, (w.dir / "other").string(), w.driveFiles);
     },
     [](World& w, const std::string&, bool failed) {
         EXPECT_TRUE(!failed || w.store.DataPath() == w.drive.string()) << "a failing drive is not taken";
     }},
};

// Runs `write` in a fresh world whose system call number `failAt` (from 0) fails with
// `error`, checks the outcome, and returns the calls made.
int runFailing(const Write& write, int failAt, int error, int number) {
    World w;
    const std::string before = w.clientFile();
    int calls = 0, reported = 0;
    sys::setFaultHook([&](std::string_view) { return calls++ == failAt ? error : 0; });
    try {
        write.run(w);
    } catch (const RunError& e) {
        reported = e.number();
    }
    sys::setFaultHook(nullptr);
    EXPECT_EQ(reported, number) << "the fault is reported, with its own number";
    write.check(w, before, failAt >= 0);
    return calls;
}

}  // namespace

TEST(DiskFaults, EveryWriteFailsCleanlyAtEachSystemCall) {
    int points = 0, combinations = 0;
    for (const Write& write : kWrites) {
        SCOPED_TRACE(write.name);
        const int calls = runFailing(write, -1, 0, 0);
        ASSERT_GT(calls, 0) << "the write goes through the system-call layer";
        points += calls;
        for (int at = 0; at < calls; ++at) {
            for (const auto& [error, number] : kFaults) {
                SCOPED_TRACE("call " + std::to_string(at + 1) + " of " + std::to_string(calls) + ": errno " +
                             std::to_string(error));
                runFailing(write, at, error, number);
                ++combinations;
            }
        }
    }
    std::printf("disk faults: %d fault points, %d combinations\n", points, combinations);
}

TEST(Privacy, FilesThatHoldNamesAreTheOwnersAlone) {
    World w;
    const auto modeOf = [](const fs::path& p) { return fs::status(p).permissions() & fs::perms::all; };
    constexpr auto kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;
    report::ScoreAndReport(w.store.table(), 1, w.options);
    EXPECT_EQ(modeOf(w.program / "REPORT.PRN"), kOwnerOnly);
    records::ClientTable table;
    records::LoadClients(table, w.dir / "DATA401.KCS");
    EXPECT_EQ(modeOf(w.dir / "DATA401.KCS"), kOwnerOnly);
    // A file the supervisor opened up keeps the bits it was given.
    fs::permissions(w.program / "REPORT.PRN", kOwnerOnly | fs::perms::group_read);
    report::ScoreAndReport(w.store.table(), 2, w.options);
    EXPECT_EQ(modeOf(w.program / "REPORT.PRN"), kOwnerOnly | fs::perms::group_read);
}
