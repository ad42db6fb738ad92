// kcs-report, which reads, scores and writes with the program's own code: what it writes,
// and bad inputs and bad paths. Each of those ends in its exit status and one clear
// message, hangs on nothing (a pipe or device where a file belongs), and leaves the files
// it must not touch byte for byte as they were.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "kcs/report/ScoreAndReport.h"
#include "kcs/test/ScoringFixture.h"
#include "kcs/test/Sqlite.h"

using namespace kcs::test;
namespace fs = std::filesystem;

namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A program folder with the fixture's data files (or the shipped ones), a data drive with
// two clients, and an output folder holding an earlier report and an earlier caseload.
struct World {
    TempDir root;
    FixtureData data;
    std::vector<kcs::records::ClientRecord> clients{ClientBuilder{}.build(), ClientBuilder{}.answer(11, 1).build()};

    World() {
        for (const char* f : {"prog", "drive", "out", "scratch"}) fs::create_directory(at(f));
        data.write(at("prog"));
        writeClients();
        writeFile(at("out/earlier.prn"), "an earlier report");
        writeFile(at("out/earlier.csv"), "an earlier caseload");
    }
    fs::path at(const std::string& relative) const { return root / relative; }
    void writeClients() { writeFile(at("drive/DATA401.KCS"), clientFileBytes(clients)); }
    void rewrite() { data.write(at("prog")); }
    void edit(const std::string& relative, const std::function<void(std::string&)>& change) const {
        std::string text = readFile(at(relative));
        change(text);
        writeFile(at(relative), text);
    }
    void fifo(const std::string& relative) const {
        fs::remove(at(relative));
        ASSERT_EQ(::mkfifo(at(relative).c_str(), 0644), 0);
    }
    void useShippedFiles() const {
        for (const char* f : {"KCSB.TXT", "KCSRPTnew.TXT", "KCSVA.TXT", "KCSAL.TXT", "KCSDG.TXT", "KCSRE.TXT", "KCSVI.TXT",
                              "KCSSC.TXT", "INVAL.TXT", "KCS32.MDB", "kcstest.ini"})
            fs::copy_file(fs::path(KCS_PROGRAM_FOLDER) / f, at("prog") / f, fs::copy_options::overwrite_existing);
    }
    // The tool's arguments: "{base}" names the program folder and client file, "@x" the path x.
    CommandRun run(const std::string& args) const {
        const std::string base = "--program-folder @prog --client-file @drive/DATA401.KCS";
        const std::string line = replaced(replaced(args, "{base}", base), "@", root.path().string() + "/");
        return runCommand(std::string(KCS_REPORT_TOOL) + " " + line, at("scratch"));
    }
};

// What a path holds, so "unchanged" covers files, folders, links and absence alike.
std::string snapshot(const fs::path& p) {
    std::error_code ec;
    const auto status = fs::symlink_status(p, ec);
    if (fs::is_symlink(status)) return "link to " + fs::read_symlink(p).string();
    if (fs::is_directory(status)) return "folder";
    if (fs::is_regular_file(status)) return "file " + readFile(p);
    return fs::exists(status) ? "other" : "missing";
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(KcsReportTool, ReportsCsvAndExitStatuses) {
    World w;
    w.clients[0].set(kcs::records::Field::Name, std::string("Nul\0Esc\x1B", 8));
    w.clients[1] = ClientBuilder{}.set(kcs::records::Field::Name, "Doe, \"J\"\r\nX").answer(11, 1).court(9, "2").build();
    w.writeClients();
    auto table = tableOf(w.clients);
    EXPECT_EQ(w.run("{base} --client 2 --summary --publisher-flag c --output @two.prn").status, 0);
    EXPECT_EQ(readFile(w.at("two.prn")), kcs::report::ComposeReport(table, 2, {w.at("prog"), 'c', true}));
    EXPECT_FALSE(fs::exists(w.at("prog/REPORT.PRN")));
    EXPECT_EQ(w.run("{base} --all --output-dir @all").status, 0);
    for (std::int16_t n : {1, 2})
        EXPECT_EQ(readFile(w.at("all/report-" + std::to_string(n) + ".prn")),
                  kcs::report::ComposeReport(table, n, {w.at("prog"), 'b', false}));
    EXPECT_EQ(w.run("{base} --csv @plain.csv").status, 0);
    EXPECT_EQ(readFile(w.at("plain.csv")).find("Doe"), std::string::npos);
    EXPECT_NE(readFile(w.at("plain.csv")).find("\r\n2,03/15/2025,0,0,1,1,4,61,2,1,"), std::string::npos);
    // Names stay with the supervisor: the files and the folder made for them are theirs alone.
    EXPECT_EQ(w.run("{base} --csv @names.csv --with-names").status, 0);
    EXPECT_EQ(fs::status(w.at("names.csv")).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(w.at("all")).permissions() & fs::perms::all, fs::perms::owner_all);
    // Each row one line of the header's columns, whatever a name holds.
    const std::string csv = readFile(w.at("names.csv"));
    auto columns = [](const std::string& row) {  // a field in quotes may hold commas and doubled quotes
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
    // Wrong usage: 2; a client the file does not hold: 1.
    for (const char* args : {"{base}", "{base} --client 0 --output x", "{base} --client 1 --all --output x"})
        EXPECT_EQ(w.run(args).status, 2) << args;
    const auto r = w.run("{base} --client 3 --output @three.prn");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("there is no client 3"), std::string::npos) << r.err;
}

TEST(BadInput, EachEndsInAClearMessageAndLosesNothing) {
    struct Row {
        const char* what;
        std::function<void(World&)> damage;
        std::string args;
        int status;
        std::string message;                 // said exactly once
        std::vector<std::string> unchanged;  // relative to the world's root
    };
    auto none = [](World&) {};
    auto text = [](const char* file, std::function<void(std::string&)> change) {
        return [=](World& w) { w.edit(std::string("prog/") + file, change); };
    };
    // The shipped files, changed: faults only a check of the whole folder finds.
    auto shipped = [](std::function<void(World&)> change) {
        return [=](World& w) {
            w.useShippedFiles();
            change(w);
        };
    };
    auto shippedText = [&](const char* file, std::string from, std::string to) {
        return shipped(text(file, [=](auto& t) { t.replace(t.find(from), from.size(), to); }));
    };
    auto bankItem = [&](const char* table, const std::string& set, int item) {
        return shipped([=](World& w) {
            const std::string sql = std::string("UPDATE ") + table + " SET " + set + " WHERE ID=" + std::to_string(item);
            SqliteFile(w.at("prog/KCS32.MDB"), true).exec(sql);
        });
    };
    const std::string longLine(300, 'x'), report = "{base} --client 2 --output @out/earlier.prn";
    const std::string csv = "{base} --csv @out/earlier.csv", check = "--program-folder @prog --check", prog = "@prog/";
    const std::vector<std::string> earlierPrn{"out/earlier.prn"}, earlierCsv{"out/earlier.csv"};
    const std::vector<Row> rows{
        // Outputs that would destroy something: refused before anything is read. A name, a
        // link and a hard link all lead to the same comparison of what the name leads to.
        {"output is a link to the client file",
         [](World& w) { fs::create_symlink(w.at("drive/DATA401.KCS"), w.at("out/link.prn")); },
         "{base} --client 2 --output @out/link.prn", 2, "it is the client file", {"drive/DATA401.KCS"}},
        {"output is a hard link to a narrative file",
         [](World& w) { fs::create_hard_link(w.at("prog/KCSVA.TXT"), w.at("out/hard.prn")); },
         "{base} --client 2 --output @out/hard.prn", 2, "it is KCSVA.TXT of the program folder", {"prog/KCSVA.TXT"}},
        {"output is an empty folder", [](World& w) { fs::create_directory(w.at("out/empty")); },
         "{base} --client 2 --output @out/empty", 2, "it is a folder", {"out/empty"}},
        {"output is a write-protected earlier report",
         [](World& w) { fs::permissions(w.at("out/earlier.prn"), fs::perms::owner_read); },
         report, 2, "it is write-protected", earlierPrn},
        {"CSV is a named pipe", [](World& w) { w.fifo("out/pipe"); }, "{base} --csv @out/pipe", 2, "it is not a regular file",
         {"drive/DATA401.KCS"}},
        {"two reports of --all are one file",
         [](World& w) { writeFile(w.at("out/report-1.prn"), "one"); fs::create_symlink("report-1.prn", w.at("out/report-2.prn")); },
         "{base} --all --output-dir @out", 2, "it is also the output", {"out/report-1.prn", "out/report-2.prn"}},
        // Data files missing, not files, or outside what scoring needs: no output is replaced.
        {"no scoring data file", [](World& w) { fs::remove(w.at("prog/KCSB.TXT")); }, csv, 1, "KCSB.TXT: No such file or directory",
         earlierCsv},
        {"narrative file is a pipe, for every client", [](World& w) { w.fifo("prog/KCSVA.TXT"); }, "{base} --all --output-dir @out",
         1, "KCSVA.TXT is not a regular file", earlierPrn},
        {"byte-order mark heads the report text", text("KCSRPTnew.TXT", [](auto& t) { t.insert(0, "\xEF\xBB\xBF"); }), report, 1,
         "line 1: the file starts with a Unicode byte-order mark", earlierPrn},
        {"Stress band limits out of order", [](World& w) { w.data.stressBounds[10] = 3; w.rewrite(); }, report, 1,
         "KCSB.TXT, line 63: Stress band limit 11 (3)", earlierPrn},
        {"truth correction of -32768", [](World& w) { w.data.truthCorrection[2][1] = -32768; w.rewrite(); }, report, 1,
         "KCSB.TXT, line 81: the truth correction -32768", earlierPrn},
        {"a number after the last row", text("KCSB.TXT", [](auto& t) { t.insert(t.size() - 2, ",12"); }), report, 1,
         "KCSB.TXT, line 87: text after row 9 of the truth correction", earlierPrn},
        {"a 300-character section 3 line", [&](World& w) { w.data.section3Texts[5] = longLine; w.rewrite(); }, report, 1,
         "KCSRPTnew.TXT, line 57: the line is 300 characters long", earlierPrn},
        {"question bank and settings are pipes", [](World& w) { w.fifo("prog/KCS32.MDB"); w.fifo("prog/kcstest.ini"); }, check, 1,
         "KCS32.MDB is not a regular file", {}},
        // Faults of an agency's own files that only the check finds: every one listed.
        {"several faults at once", shipped([](World& w) {
             w.edit("prog/KCSB.TXT", [](auto& t) { t.replace(t.rfind(",10"), 3, ",999"); });
             w.edit("prog/KCSDG.TXT", [](auto& t) { t.replace(t.find("MAXIMUM-HIGH"), 12, "MAXIMUM HIGH"); });
             w.edit("prog/INVAL.TXT", [](auto& t) { t.erase(t.rfind("END")); });
         }), check, 1, "3 faults in the data files", {}},
        {"a falling norm table", shippedText("KCSB.TXT", "17,45,60", "17,45,40"), check, 1,
         prog + "KCSB.TXT:18: the percentile table of Truthfulness, sex group 1 falls at raw score 2 (40 after 45)", {}},
        {"Stress bands above the lowest score", shippedText("KCSB.TXT", "\n0,19,21", "\n16,19,21"), check, 1,
         prog + "KCSB.TXT:53: the Stress band limits run from 16 to 999; they must start below 15", {}},
        {"points for no answer", shippedText("KCSB.TXT", "\"000", "\"100"), check, 1,
         prog + "KCSB.TXT:5: the answer key of section 1, code 0 gives points", {}},
        {"an item twice on a scale", shippedText("KCSB.TXT", "17,2,14", "17,2,2"), check, 1,
         prog + "KCSB.TXT:54: item 2 is listed twice on the Truthfulness scale", {}},
        {"a Stress item on a scale", shippedText("KCSB.TXT", "17,2,14", "17,2,100"), check, 1,
         prog + "KCSB.TXT:54: item 100 is a Stress item, listed on the Truthfulness scale", {}},
        {"a significant item off its scale", shippedText("KCSB.TXT", "9,15,21", "2,15,21"), check, 1,
         prog + "KCSB.TXT:1: significant item 2 is listed for Alcohol but is not an item of that scale", {}},
        {"a significant item that cannot earn 2 points", shippedText("KCSB.TXT", "\"0122221032", "\"0122221012"), check, 1,
         prog + "KCSB.TXT:1: significant item 9 earns at most 1 from any answer; it counts only from 2 points", {}},
        {"item 151 off the Alcohol scale", shippedText("KCSB.TXT", ",151\r\n39,", ",152\r\n39,"), check, 1,
         prog + "KCSB.TXT:55: item 151 is not on the Alcohol scale", {}},
        {"a significant item's line numbered for another", shippedText("KCSRPTnew.TXT", "9. Drinks", "8. Drinks"), check, 1,
         prog + "KCSRPTnew.TXT:3: the text of significant item 1 does not start with \"9.\"", {}},
        {"a narrative paragraph of one line",
         shipped(text("KCSVA.TXT", [](auto& t) { t.insert(t.find("\r\n", t.find("This client's")) + 2, "END\r\n"); })), check, 1,
         prog + "KCSVA.TXT:3: the paragraph of the block \"LOW\" has fewer than two lines", {}},
        {"a narrative label twice", shipped(text("KCSVA.TXT", [](auto& t) { t += "LOW\r\none\r\ntwo\r\nEND\r\n"; })), check, 1,
         "a second block is headed \"LOW\"; the report reads only the first", {}},
        {"a section 1 item with a third choice", bankItem("English", "ANSWER3='Maybe', ChoiceAudio3='Maybe'", 4), check, 1,
         "choice 3 of item 4 of the table \"English\" is offered; an item of section 1 offers 2 choices", {}},
        {"a choice without its wave file", bankItem("Spanish", "ChoiceAudio2=NULL", 120), check, 1,
         "choice 2 of item 120 of the table \"Spanish\" has no wave file name", {}},
        {"a wave file name with a blank", bankItem("English", "ChoiceAudio1='Tr ue'", 7), check, 1,
         "the wave file name \"Tr ue\" may hold only letters, digits", {}},
        {"one choice text read by two wave files", bankItem("English", "ChoiceAudio1='False'", 9), check, 1,
         "choice 1 of item 9 of the table \"English\" is read by False.wav, the same text elsewhere by True.wav", {}},
        {"one wave file for two texts", bankItem("Spanish", "ANSWER1='Falso'", 9), check, 1,
         "Cierto.wav reads \"Falso\" here and \"Cierto\" elsewhere", {}},
        // Client files that are no client file, and damaged records.
        {"client file is a device", none, "--program-folder @prog --client-file /dev/zero --csv @out/earlier.csv", 1,
         "/dev/zero is not a regular file", earlierCsv},
        {"client file missing", [](World& w) { fs::remove(w.at("drive/DATA401.KCS")); }, csv, 1,
         "DATA401.KCS: No such file or directory", {"drive/DATA401.KCS", "out/earlier.csv"}},
        {"bytes after the last record", [](World& w) { w.edit("drive/DATA401.KCS", [](auto& t) { t += std::string(50, 'x'); }); },
         "{base} --csv @out/new.csv", 0, "the last 50 bytes are not a client", {"drive/DATA401.KCS"}},
        {"control byte in a record's code field",
         [](World& w) { w.clients[1].set(kcs::records::Field::Sex, "\x01"); w.writeClients(); },
         csv, 1, "client record 2: field Sex holds \"\\x01\"", {"out/earlier.csv", "drive/DATA401.KCS"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        World w;
        row.damage(w);
        std::vector<std::string> before;
        for (const auto& f : row.unchanged) before.push_back(snapshot(w.at(f)));
        const CommandRun r = w.run(row.args);
        EXPECT_EQ(r.status, row.status) << r.err;
        EXPECT_EQ(occurrences(r.out + r.err, replaced(row.message, "@", w.root.path().string() + "/")), 1u)
            << r.out << r.err;
        for (std::size_t i = 0; i < row.unchanged.size(); ++i)
            EXPECT_EQ(snapshot(w.at(row.unchanged[i])), before[i]) << row.unchanged[i];
        for (const auto& entry : fs::directory_iterator(w.at("out")))
            EXPECT_EQ(entry.path().string().find(".new"), std::string::npos) << entry.path();  // no staging file left
    }
}
