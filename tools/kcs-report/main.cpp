// kcs-report: writes the client report of one client or of every client of a client
// file, or one CSV row of scores per client, for batch work and checking.

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "kcs/common/Cp1252.h"
#include "kcs/common/RunError.h"
#include "kcs/records/ClientFile.h"
#include "kcs/report/ScoreAndReport.h"

namespace fs = std::filesystem;
using namespace kcs;

namespace {

constexpr int kOk = 0, kDataError = 1, kUsage = 2;

constexpr const char* kUsageText =
    "usage:\n"
    "  kcs-report --program-folder DIR --client-file FILE --client N [--summary]\n"
    "             [--publisher-flag C] --output FILE\n"
    "  kcs-report --program-folder DIR --client-file FILE --all --output-dir DIR [--summary]\n"
    "             [--publisher-flag C]\n"
    "  kcs-report --program-folder DIR --client-file FILE --csv FILE [--with-names]\n";

struct Options {
    fs::path programFolder, clientFile, output, outputDir, csv;
    std::optional<int> client;
    bool all = false, summary = false, withNames = false;
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
                throw UsageError{"--client takes a record number from 1 to 51, not \"" + v + "\""};
            o.client = n;
        }
        else if (a == "--all") o.all = true;
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
        else if (a == "--help" || a == "-h") throw UsageError{""};
        else throw UsageError{"unknown option " + std::string(a)};
    }
    if (!haveFolder || !haveClientFile) throw UsageError{"--program-folder and --client-file are required"};
    const int modes = (o.client ? 1 : 0) + (o.all ? 1 : 0) + (o.csv.empty() ? 0 : 1);
    if (modes != 1) throw UsageError{"give exactly one of --client, --all and --csv"};
    if (o.client && o.output.empty()) throw UsageError{"--client needs --output FILE"};
    if (o.all && o.outputDir.empty()) throw UsageError{"--all needs --output-dir DIR"};
    if (o.withNames && o.csv.empty()) throw UsageError{"--with-names goes with --csv"};
    return o;
}

void reportError(const std::exception& e) { std::cerr << "kcs-report: " << e.what() << '\n'; }

std::string csvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

int writeCsv(const Options& o, records::ClientTable& table) {
    static constexpr const char* kScales[7] = {"", "truthfulness", "alcohol", "drugs", "resistance", "violence", "stress"};
    std::string text = "record,test_date";
    if (o.withNames) text += ",name";
    for (int s = 1; s <= scoring::kScaleCount; ++s)
        for (const char* part : {"_raw", "_percentile", "_range", "_scored"}) text += std::string(",") + kScales[s] + part;
    text += ",test_valid,alcohol_arrest_floor,drug_arrest_floor,dependency,abuse_count\r\n";

    int status = kOk;
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
            field(csvField(cp1252ToUtf8(scorer.client().ClientLabels[8])));
            if (o.withNames) field(csvField(cp1252ToUtf8(scorer.client().ClientLabels[1])));
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
            reportError(e);
            status = kDataError;
        }
    }
    std::ofstream out(o.csv, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw fileError(errno, o.csv, "Cannot write");
    return status;
}

int run(const Options& o) {
    if (!fs::is_regular_file(o.clientFile))
        throw scoring::DataError(o.clientFile.string(), 0, "the client file does not exist");
    records::ClientTable table;
    const auto load = records::LoadClients(table, o.clientFile);
    if (load.overCapacity)
        std::cerr << "kcs-report: " << o.clientFile.string() << ": holds more than 51 records; only the first 51 are used\n";

    if (!o.csv.empty()) return writeCsv(o, table);

    report::ReportOptions ro{o.programFolder, o.publisherFlag, o.summary};
    if (o.client) {
        if (*o.client > table.NumClients)
            throw scoring::DataError(o.clientFile.string(), 0,
                                     "there is no client " + std::to_string(*o.client) + " (the file holds " +
                                         std::to_string(table.NumClients) + ")");
        report::ScoreAndReportTo(table, static_cast<std::int16_t>(*o.client), ro, o.output);
        return kOk;
    }
    std::error_code ec;
    fs::create_directories(o.outputDir, ec);
    int status = kOk;
    for (std::int16_t n = 1; n <= table.NumClients; ++n) {
        try {
            std::string name = "report-";
            name += std::to_string(n);
            name += ".prn";
            report::ScoreAndReportTo(table, n, ro, o.outputDir / name);
        } catch (const scoring::DataError& e) {
            reportError(e);
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
    } catch (const UsageError& e) {
        if (!e.message.empty()) std::cerr << "kcs-report: " << e.message << '\n';
        std::cerr << kUsageText;
        return e.message.empty() ? kOk : kUsage;
    }
    try {
        return run(options);
    } catch (const std::exception& e) {
        reportError(e);
        return kDataError;
    }
}
