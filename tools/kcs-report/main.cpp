// kcs-report: writes the client report of one client or of every client of a client
// file, or one CSV row of scores per client, for batch work; and checks every data file
// of a program folder.
//
// Nothing is destroyed: every output is written beside its place and renamed over it
// only when complete, so a failed run leaves an earlier file as it was; and outputs that
// would overwrite the client file, the program's own files, each other, a folder or a
// write-protected file are refused before anything is read.

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "Destinations.h"
#include "FolderCheck.h"
#include "kcs/common/Cp1252.h"
#include "kcs/common/DurableFile.h"
#include "kcs/common/RunError.h"
#include "kcs/common/Text.h"
#include "kcs/records/ClientFile.h"
#include "kcs/report/ScoreAndReport.h"

namespace fs = std::filesystem;
using namespace kcs;

namespace {

constexpr int kOk = 0, kDataError = 1, kUsage = 2;

// --help and --version: printed on standard output, exit status 0.
struct Answer {
    std::string text;
};

constexpr const char* kHelpText =
    "\n"
    "Scores the clients of a client file with the program's own code and writes their\n"
    "reports (the bytes the program writes to REPORT.PRN), or one CSV row of scores per\n"
    "client, or checks every data file of a program folder (--check). The data files are\n"
    "read from the program folder. An output is written whole or not at all; one that is\n"
    "the client file, a file of the program folder or a folder is refused.\n"
    "Exit status: 0 done, 1 a data file or record at fault, 2 wrong usage or a refused output.\n";

constexpr const char* kUsageText =
    "usage:\n"
    "  kcs-report --program-folder DIR --client-file FILE --client N [--summary]\n"
    "             [--publisher-flag C] --output FILE\n"
    "  kcs-report --program-folder DIR --client-file FILE --all --output-dir DIR [--summary]\n"
    "             [--publisher-flag C]\n"
    "  kcs-report --program-folder DIR --client-file FILE --csv FILE [--with-names]\n"
    "  kcs-report --program-folder DIR --check\n";

struct Options {
    fs::path programFolder, clientFile, output, outputDir, csv;
    std::optional<int> client;
    bool all = false, check = false, summary = false, withNames = false;
    char publisherFlag = 'b';
};

struct UsageError {
    std::string message;
};

Options parse(int argc, char** argv) {
    Options o;
    bool haveFolder = false, haveClientFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw UsageError{std::string(a) + " needs a value"};
            return argv[++i];
        };
        if (a == "--program-folder") { o.programFolder = value(); haveFolder = true; }
        else if (a == "--client-file") { o.clientFile = value(); haveClientFile = true; }
        else if (a == "--client") {
            const std::string v = value();
            int n = 0;
            const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec != std::errc() || end != v.data() + v.size() || n < 1 || n > records::kMaxClients)
                throw UsageError{"--client takes a record number from 1 to 51, not \"" + printable(v) + "\""};
            o.client = n;
        }
        else if (a == "--all") o.all = true;
        else if (a == "--check") o.check = true;
        else if (a == "--summary") o.summary = true;
        else if (a == "--with-names") o.withNames = true;
        else if (a == "--publisher-flag") {
            const std::string v = value();
            if (v.size() != 1) throw UsageError{"--publisher-flag takes one character"};
            o.publisherFlag = v[0];
        }
        else if (a == "--output") o.output = value();
        else if (a == "--output-dir") o.outputDir = value();
        else if (a == "--csv") o.csv = value();
        else if (a == "--help" || a == "-h") throw Answer{std::string(kUsageText) + kHelpText};
        else if (a == "--version") throw Answer{"kcs-report " KCS_VERSION "\n"};
        else throw UsageError{"unknown option " + printable(a)};
    }
    if (!haveFolder) throw UsageError{"--program-folder is required"};
    const int modes = (o.client ? 1 : 0) + (o.all ? 1 : 0) + (o.csv.empty() ? 0 : 1) + (o.check ? 1 : 0);
    if (modes != 1) throw UsageError{"give exactly one of --client, --all, --csv and --check"};
    if (!o.check && !haveClientFile) throw UsageError{"--client-file is required"};
    if (o.client && o.output.empty()) throw UsageError{"--client needs --output FILE"};
    if (o.all && o.outputDir.empty()) throw UsageError{"--all needs --output-dir DIR"};
    if (o.withNames && o.csv.empty()) throw UsageError{"--with-names goes with --csv"};
    return o;
}

// Each message once a run: a fault of a data file stops every client's report alike.
class Messages {
public:
    void error(const std::exception& e) { say(e.what()); }
    void say(const std::string& text) {
        if (said_.insert(text).second) std::cerr << "kcs-report: " << text << '\n';
    }

private:
    std::set<std::string> said_;
};

// A CSV field from 8-bit record text: UTF-8, control bytes (NUL included) as U+FFFD so
// every row stays one line of printable text, quoted when it holds a comma or a quote.
std::string csvField(std::string_view cp1252) {
    std::string s;
    for (const char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        const bool control = b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        s += control ? std::string("\xEF\xBF\xBD") : cp1252ToUtf8(std::string_view(&c, 1));
    }
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

int writeCsv(const Options& o, const records::ClientTable& table, Messages& messages) {
    static constexpr const char* kScales[7] = {"", "truthfulness", "alcohol", "drugs", "resistance", "violence", "stress"};
    std::string text = "record,test_date";
    if (o.withNames) text += ",name";
    for (int s = 1; s <= scoring::kScaleCount; ++s)
        for (const char* part : {"_raw", "_percentile", "_range", "_scored"}) text += std::string(",") + kScales[s] + part;
    text += ",test_valid,alcohol_arrest_floor,drug_arrest_floor,dependency,abuse_count\r\n";

    int failed = 0;
    for (std::int16_t n = 1; n <= table.NumClients; ++n) {
        try {
            scoring::Scorer scorer;
            scorer.Score(o.programFolder, table, n);
            const auto& sc = scorer.scores();
            // Appended piece by piece: one field per call keeps the row easy to check.
            std::string row = std::to_string(n);
            auto field = [&row](const std::string& v) {
                row += ',';
                row += v;
            };
            field(csvField(scorer.client().ClientLabels[8]));
            if (o.withNames) field(csvField(scorer.client().ClientLabels[1]));
            for (std::size_t s = 1; s <= scoring::kScaleCount; ++s) {
                field(std::to_string(sc.RawScore[s]));
                field(std::to_string(sc.Percentile[s]));
                field(std::to_string(sc.range(static_cast<int>(s))));
                field(sc.scored(static_cast<int>(s)) ? "1" : "0");
            }
            field(sc.invalid() ? "0" : "1");
            field(sc.AlcoholArrestFloor ? "1" : "0");
            field(sc.DrugArrestFloor ? "1" : "0");
            field(std::to_string(sc.Class.DependencyFlag));
            field(std::to_string(sc.Class.AbuseCount));
            row += "\r\n";
            text += row;
        } catch (const scoring::DataError& e) {
            messages.error(e);
            ++failed;
        }
    }
    // A caseload with clients left out would pass for the whole caseload.
    if (failed > 0) {
        messages.say(o.csv.string() + " was not written: " + std::to_string(failed) + " of " +
                     std::to_string(table.NumClients) + " clients could not be scored");
        return kDataError;
    }
    replaceFileDurably(o.csv, text);
    return kOk;
}

fs::path reportPath(const Options& o, int n) { return o.outputDir / ("report-" + std::to_string(n) + ".prn"); }

int run(const Options& o) {
    // Every data file lives there: a wrong folder is said once, not once a file.
    std::error_code ec;
    if (!fs::is_directory(o.programFolder, ec))
        throw RunError(err::PathNotFound, "the program folder " + o.programFolder.string() + " " +
                                              (ec ? "cannot be opened: " + ec.message() : std::string("is not a folder")));
    if (o.check) {
        const int faults = reporttool::checkProgramFolder(o.programFolder, std::cout, std::cerr);
        if (faults == 0) {
            std::cout << o.programFolder.string() << ": every data file is sound\n";
            return kOk;
        }
        std::cerr << "kcs-report: " << faults << (faults == 1 ? " fault" : " faults") << " in the data files of "
                  << o.programFolder.string() << '\n';
        return kDataError;
    }

    reporttool::Destinations destinations(o.programFolder, o.clientFile);
    if (o.client) destinations.claim(o.output);
    if (!o.csv.empty()) destinations.claim(o.csv);
    if (o.all) {
        destinations.claimFolder(o.outputDir);
        for (int n = 1; n <= records::kMaxClients; ++n) destinations.claim(reportPath(o, n), true);
    }

    // Only an existing client file is read: the tool never creates one.
    openRegularFile(o.clientFile);
    records::ClientTable table;
    const auto load = records::LoadClients(table, o.clientFile);
    Messages messages;
    if (load.overCapacity)
        messages.say(o.clientFile.string() + ": holds more than 51 records; only the first 51 are used");
    // The rounding rule counts a trailing part of 118 bytes or more as a record; less is left out.
    if (!load.overCapacity && load.trailingBytes > 0 && load.trailingBytes < (records::kRecordLength + 1) / 2)
        messages.say(o.clientFile.string() + ": the last " + std::to_string(load.trailingBytes) +
                     " bytes are not a client (a record is 235 bytes) and are left out");

    // The data files once, before any client: a fault in them is said once.
    scoring::Scorer().LoadScoringFiles(o.programFolder);

    if (!o.csv.empty()) return writeCsv(o, table, messages);

    const report::ReportOptions ro{o.programFolder, o.publisherFlag, o.summary};
    if (o.client) {
        if (*o.client > table.NumClients)
            throw scoring::DataError(o.clientFile.string(), 0,
                                     "there is no client " + std::to_string(*o.client) + " (the file holds " +
                                         std::to_string(table.NumClients) + ")",
                                     err::SubscriptOutOfRange);
        replaceFileDurably(o.output, report::ComposeReport(table, static_cast<std::int16_t>(*o.client), ro));
        return kOk;
    }

    // Reports hold names: a folder made for them is the user's alone.
    if (!fs::exists(o.outputDir, ec) && ::mkdir(o.outputDir.c_str(), 0700) != 0 && errno != EEXIST)
        ec.assign(errno, std::generic_category());
    if (ec) throw RunError(err::PathFileAccess, "Cannot create the folder " + o.outputDir.string() + ": " + ec.message());
    int status = kOk;
    for (std::int16_t n = 1; n <= table.NumClients; ++n) {
        try {
            replaceFileDurably(reportPath(o, n), report::ComposeReport(table, n, ro));
        } catch (const scoring::DataError& e) {
            // This client's report is not written; the others are.
            messages.error(e);
            status = kDataError;
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parse(argc, argv);
    } catch (const Answer& a) {
        std::cout << a.text;
        return kOk;
    } catch (const UsageError& e) {
        if (!e.message.empty()) std::cerr << "kcs-report: " << e.message << '\n';
        std::cerr << kUsageText;
        return e.message.empty() ? kOk : kUsage;
    }
    try {
        return run(options);
    } catch (const reporttool::Refused& e) {
        std::cerr << "kcs-report: " << e.message << '\n';
        return kUsage;
    } catch (const std::bad_alloc&) {
        std::cerr << "kcs-report: out of memory\n";
    } catch (const std::exception& e) {
        std::cerr << "kcs-report: " << e.what() << '\n';
    }
    return kDataError;
}
