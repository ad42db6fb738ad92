// Bad inputs and bad paths given to kcs-report, which reads, scores and writes with the
// program's own code. Each ends in its exit status and one clear message, hangs on
// nothing (a pipe or device where a file belongs), and leaves the files it must not
// touch byte for byte as they were.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "kcs/test/ScoringFixture.h"
#include "kcs/test/Support.h"

using namespace kcs::test;
namespace fs = std::filesystem;
using ToolRun = CommandRun;

namespace {

ToolRun runTool(const std::string& args, const fs::path& scratch) {
    return runCommand(std::string(KCS_REPORT_TOOL) + " " + args, scratch);
}

// A program folder with the fixture's data files, a data drive with two clients, and an
// output folder holding an earlier report and an earlier caseload.
struct World {
    kcs::test::TempDir root;
    FixtureData data;
    std::vector<kcs::records::ClientRecord> clients{ClientBuilder{}.build(), ClientBuilder{}.answer(11, 1).build()};

    World() {
        for (const char* f : {"prog", "drive", "out", "scratch"}) fs::create_directory(at(f));
        data.write(at("prog"));
        writeClients();
        kcs::test::writeFile(at("drive/TID"), "KCS\r\nb\r\n");
        kcs::test::writeFile(at("out/earlier.prn"), "an earlier report");
        kcs::test::writeFile(at("out/earlier.csv"), "an earlier caseload");
    }
    fs::path at(const std::string& relative) const { return root.path() / relative; }
    std::string arg(const std::string& relative) const { return at(relative).string(); }
    void writeClients() { kcs::test::writeFile(at("drive/DATA401.KCS"), clientFileBytes(clients)); }
    void rewrite() { data.write(at("prog")); }
    void edit(const std::string& relative, const std::function<void(std::string&)>& change) const {
        std::string text = kcs::test::readFile(at(relative));
        change(text);
        kcs::test::writeFile(at(relative), text);
    }
    void fifo(const std::string& relative) const {
        fs::remove(at(relative));
        ASSERT_EQ(::mkfifo(at(relative).c_str(), 0644), 0);
    }
    std::string base() const { return "--program-folder " + arg("prog") + " --client-file " + arg("drive/DATA401.KCS"); }
    std::string report(const std::string& output) const { return base() + " --client 2 --output " + arg(output); }
    std::string csv(const std::string& output) const { return base() + " --csv " + arg(output); }
};

// What a path holds, so "unchanged" covers files, folders, links and absence alike.
std::string snapshot(const fs::path& p) {
    std::error_code ec;
    const auto status = fs::symlink_status(p, ec);
    if (fs::is_symlink(status)) return "link to " + fs::read_symlink(p).string();
    if (fs::is_directory(status)) return "folder";
    if (fs::is_regular_file(status)) return "file " + kcs::test::readFile(p);
    return fs::exists(status) ? "other" : "missing";
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

struct Row {
    const char* what;
    std::function<void(World&)> damage;
    std::function<std::string(const World&)> args;
    int status;
    std::string message;                 // said exactly once
    std::vector<std::string> unchanged;  // relative to the world's root
};

}  // namespace

TEST(BadInput, EachEndsInAClearMessageAndLosesNothing) {
    auto none = [](World&) {};
    auto text = [](const char* file, std::function<void(std::string&)> change) {
        return [=](World& w) { w.edit(std::string("prog/") + file, change); };
    };
    const std::string longLine(300, 'x');
    const std::vector<Row> rows{
        // Outputs that would destroy something: refused before anything is read.
        {"output is the client file", none, [](auto& w) { return w.report("drive/DATA401.KCS"); }, 2,
         "it is the client file", {"drive/DATA401.KCS"}},
        {"output is a link to the client file",
         [](World& w) { fs::create_symlink(w.at("drive/DATA401.KCS"), w.at("out/link.prn")); },
         [](auto& w) { return w.report("out/link.prn"); }, 2, "it is the client file", {"drive/DATA401.KCS"}},
        {"CSV is a data file of the program folder", none, [](auto& w) { return w.csv("prog/KCSB.TXT"); }, 2,
         "it is KCSB.TXT of the program folder", {"prog/KCSB.TXT"}},
        {"output is a hard link to a narrative file",
         [](World& w) { fs::create_hard_link(w.at("prog/KCSVA.TXT"), w.at("out/hard.prn")); },
         [](auto& w) { return w.report("out/hard.prn"); }, 2, "it is KCSVA.TXT of the program folder", {"prog/KCSVA.TXT"}},
        {"output is an empty folder", [](World& w) { fs::create_directory(w.at("out/empty")); },
         [](auto& w) { return w.report("out/empty"); }, 2, "it is a folder", {"out/empty"}},
        {"output is a write-protected earlier report", [](World& w) { fs::permissions(w.at("out/earlier.prn"), fs::perms::owner_read); },
         [](auto& w) { return w.report("out/earlier.prn"); }, 2, "it is write-protected", {"out/earlier.prn"}},
        {"CSV is a named pipe", [](World& w) { w.fifo("out/pipe"); }, [](auto& w) { return w.csv("out/pipe"); }, 2,
         "it is not a regular file", {"drive/DATA401.KCS"}},
        {"two reports of --all are one file",
         [](World& w) { kcs::test::writeFile(w.at("out/report-1.prn"), "one"); fs::create_symlink("report-1.prn", w.at("out/report-2.prn")); },
         [](auto& w) { return w.base() + " --all --output-dir " + w.arg("out"); }, 2, "it is also the output",
         {"out/report-1.prn", "out/report-2.prn"}},
        // Data files missing, not files, or outside what scoring needs: no output is replaced.
        {"no scoring data file", [](World& w) { fs::remove(w.at("prog/KCSB.TXT")); },
         [](auto& w) { return w.csv("out/earlier.csv"); }, 1, "KCSB.TXT: No such file or directory", {"out/earlier.csv"}},
        {"scoring data file is a pipe", [](World& w) { w.fifo("prog/KCSB.TXT"); },
         [](auto& w) { return w.report("out/earlier.prn"); }, 1, "KCSB.TXT is not a regular file", {"out/earlier.prn"}},
        {"report text file is a pipe", [](World& w) { w.fifo("prog/KCSRPTnew.TXT"); },
         [](auto& w) { return w.csv("out/earlier.csv"); }, 1, "KCSRPTnew.TXT is not a regular file", {"out/earlier.csv"}},
        {"narrative file is a pipe, for every client", [](World& w) { w.fifo("prog/KCSVA.TXT"); },
         [](auto& w) { return w.base() + " --all --output-dir " + w.arg("out"); }, 1, "KCSVA.TXT is not a regular file",
         {"out/earlier.prn"}},
        {"byte-order mark heads the report text", text("KCSRPTnew.TXT", [](auto& t) { t.insert(0, "\xEF\xBB\xBF"); }),
         [](auto& w) { return w.report("out/earlier.prn"); }, 1, "line 1: the file starts with a Unicode byte-order mark",
         {"out/earlier.prn"}},
        {"Stress band limits out of order", [](World& w) { w.data.stressBounds[10] = 3; w.rewrite(); },
         [](auto& w) { return w.report("out/earlier.prn"); }, 1, "KCSB.TXT, line 63: Stress band limit 11 (3)",
         {"out/earlier.prn"}},
        {"truth correction of -32768", [](World& w) { w.data.truthCorrection[2][1] = -32768; w.rewrite(); },
         [](auto& w) { return w.report("out/earlier.prn"); }, 1, "KCSB.TXT, line 81: the truth correction -32768",
         {"out/earlier.prn"}},
        {"answer key one digit too long", text("KCSB.TXT", [](auto& t) { t.replace(t.find('"'), 1, "\"0"); }),
         [](auto& w) { return w.report("out/earlier.prn"); }, 1, "KCSB.TXT, line 4: the answer key of section 1, code 0",
         {"out/earlier.prn"}},
        {"a number after the last row", text("KCSB.TXT", [](auto& t) { t.insert(t.size() - 2, ",12"); }),
         [](auto& w) { return w.report("out/earlier.prn"); }, 1, "KCSB.TXT, line 87: text after row 9 of the truth correction",
         {"out/earlier.prn"}},
        {"a 300-character section 3 line", [&](World& w) { w.data.section3Texts[5] = longLine; w.rewrite(); },
         [](auto& w) { return w.report("out/earlier.prn"); }, 1, "KCSRPTnew.TXT, line 57: the line is 300 characters long",
         {"out/earlier.prn"}},
        {"a 300-character narrative line", text("KCSVA.TXT", [&](auto& t) { t.replace(t.find("Scale 1 in the LOW"), 5, longLine); }),
         [](auto& w) { return w.report("out/earlier.prn"); }, 1, "KCSVA.TXT, line 4: the line is 341 characters long",
         {"out/earlier.prn"}},
        {"question bank and settings are pipes", [](World& w) { w.fifo("prog/KCS32.MDB"); w.fifo("prog/kcstest.ini"); },
         [](auto& w) { return "--program-folder " + w.arg("prog") + " --check"; }, 1, "KCS32.MDB is not a regular file", {}},
        // Client files that are no client file, and damaged records.
        {"client file is a device", none,
         [](auto& w) { return "--program-folder " + w.arg("prog") + " --client-file /dev/zero --csv " + w.arg("out/earlier.csv"); },
         1, "/dev/zero is not a regular file", {"out/earlier.csv"}},
        {"client file is a link to itself", [](World& w) { fs::create_symlink("loop", w.at("drive/loop")); },
         [](auto& w) { return "--program-folder " + w.arg("prog") + " --client-file " + w.arg("drive/loop") + " --csv " + w.arg("out/x.csv"); },
         1, "Too many levels of symbolic links", {"out/x.csv"}},
        {"client file missing", [](World& w) { fs::remove(w.at("drive/DATA401.KCS")); },
         [](auto& w) { return w.csv("out/earlier.csv"); }, 1, "DATA401.KCS: No such file or directory",
         {"drive/DATA401.KCS", "out/earlier.csv"}},
        {"bytes after the last record", [](World& w) { w.edit("drive/DATA401.KCS", [](auto& t) { t += std::string(50, 'x'); }); },
         [](auto& w) { return w.csv("out/new.csv"); }, 0, "the last 50 bytes are not a client", {"drive/DATA401.KCS"}},
        {"control byte in a record's code field",
         [](World& w) { w.clients[1].set(kcs::records::Field::Sex, "\x01"); w.writeClients(); },
         [](auto& w) { return w.csv("out/earlier.csv"); }, 1, "client record 2: field Sex holds \"\\x01\"",
         {"out/earlier.csv", "drive/DATA401.KCS"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        World w;
        row.damage(w);
        std::vector<std::string> before;
        for (const auto& f : row.unchanged) before.push_back(snapshot(w.at(f)));
        const ToolRun r = runTool(row.args(w), w.at("scratch"));
        EXPECT_EQ(r.status, row.status) << r.err;
        EXPECT_EQ(occurrences(r.out + r.err, row.message), 1u) << r.out << r.err;
        for (std::size_t i = 0; i < row.unchanged.size(); ++i) EXPECT_EQ(snapshot(w.at(row.unchanged[i])), before[i]) << row.unchanged[i];
        for (const auto& entry : fs::directory_iterator(w.at("out")))
            EXPECT_EQ(entry.path().string().find(".new"), std::string::npos) << entry.path();  // no staging file left
    }
}

TEST(BadInput, CsvRowsStayOneLineOfTheHeadersColumnsWhateverARecordHolds) {
    World w;
    w.clients[0].set(kcs::records::Field::Name, std::string("Nul\0Esc\x1B", 8));
    w.clients[1].set(kcs::records::Field::Name, "Doe, \"J\"\r\nX");
    w.writeClients();
    const ToolRun r = runTool(w.csv("out/names.csv") + " --with-names", w.at("scratch"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string csv = kcs::test::readFile(w.at("out/names.csv"));
    // Rows end in CR LF; a field in quotes may hold commas and doubled quotes.
    auto columns = [](const std::string& row) {
        std::size_t n = 1;
        bool quoted = false;
        for (char c : row) {
            if (c == '"') quoted = !quoted;
            else if (c == ',' && !quoted) ++n;
        }
        return quoted ? 0 : n;
    };
    std::vector<std::string> rows;
    for (std::size_t at = 0, end; at < csv.size(); at = end + 2) rows.push_back(csv.substr(at, (end = csv.find("\r\n", at)) - at));
    ASSERT_EQ(rows.size(), 3u) << csv;
    for (const auto& row : rows) {
        EXPECT_EQ(columns(row), columns(rows[0])) << row;
        for (unsigned char c : row) EXPECT_GE(c, 0x20) << row;
    }
    EXPECT_NE(rows[1].find(",Nul\xEF\xBF\xBD" "Esc\xEF\xBF\xBD,"), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find(",\"Doe, \"\"J\"\"\xEF\xBF\xBD\xEF\xBF\xBDX\","), std::string::npos) << rows[2];
}

TEST(BadInput, FolderCheckPassesOnTheShippedFilesAndListsEveryFaultOfADamagedCopy) {
    World w;
    const fs::path shipped = KCS_PROGRAM_FOLDER;
    for (const char* f : {"KCSB.TXT", "KCSRPTnew.TXT", "KCSVA.TXT", "KCSAL.TXT", "KCSDG.TXT", "KCSRE.TXT", "KCSVI.TXT",
                          "KCSSC.TXT", "INVAL.TXT", "KCS32.MDB", "kcstest.ini"})
        fs::copy_file(shipped / f, w.at("prog") / f, fs::copy_options::overwrite_existing);
    const std::string check = "--program-folder " + w.arg("prog") + " --check";
    ToolRun r = runTool(check, w.at("scratch"));
    EXPECT_EQ(r.status, 0) << r.out << r.err;

    w.edit("prog/KCSB.TXT", [](auto& t) { t.replace(t.rfind(",10"), 3, ",999"); });
    w.edit("prog/KCSRPTnew.TXT", [](auto& t) { t.insert(t.find("\r\n", t.find("\r\n", t.find("\r\n") + 2) + 2), 30, '!'); });
    w.edit("prog/KCSDG.TXT", [](auto& t) { t.replace(t.find("MAXIMUM-HIGH"), 12, "MAXIMUM HIGH"); });
    w.edit("prog/INVAL.TXT", [](auto& t) { t.erase(t.rfind("END")); });
    r = runTool(check, w.at("scratch"));
    EXPECT_EQ(r.status, 1);
    const std::string prog = w.arg("prog") + "/";
    for (const std::string& fault : {prog + "KCSB.TXT:71: the truth correction 999", prog + "KCSRPTnew.TXT:3: the line is",
                                     prog + "KCSDG.TXT: no block is headed \"MAXIMUM-HIGH\"",
                                     prog + "INVAL.TXT: the text has no END line"})
        EXPECT_EQ(occurrences(r.out, fault), 1u) << fault << "\n" << r.out;
    EXPECT_NE(r.err.find("4 faults"), std::string::npos) << r.err;
}
