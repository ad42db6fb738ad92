#include "kcs/scoring/Scorer.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "kcs/common/Text.h"
#include "kcs/records/ClientRecord.h"
#include "kcs/scoring/DataError.h"
#include "kcs/scoring/TextInput.h"

namespace kcs::scoring {

using records::Field;

int RiskRange(int p) {
    if (p <= 39) return 1;
    if (p <= 69) return 2;
    if (p <= 89) return 3;
    return 4;
}

std::string RangeLabel(int p, const std::array<std::string, 5>& rangeNames) {
    switch (RiskRange(p)) {
    case 1: return rangeNames[1];
    case 2: return p < 56 ? "MEDIUM-LOW" : "MEDIUM-HIGH";
    case 3: return rangeNames[3];
    default: return p < 95 ? "MAXIMUM-LOW" : "MAXIMUM-HIGH";
    }
}

bool InRange(int value, int low, int high) { return low <= value && value <= high; }

int NumericValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 100000) break;  // the record's fields are at most three characters
    }
    return static_cast<int>(negative ? -value : value);
}

namespace {

std::string trimmed(std::string_view v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    return std::string(v);
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// The test date as "mm/dd/yyyy"; a date written with one-digit month or day is padded,
// anything that is not a date is shown as it stands.
std::string formatTestDate(const std::string& text) {
    int part[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int k = 0;
    for (char c : text) {
        if (c == '/' || c == '-') {
            if (++k > 2) return text;
        } else if (c >= '0' && c <= '9') {
            part[k] = part[k] * 10 + (c - '0');
            if (++digits[k] > 4) return text;
        } else {
            return text;
        }
    }
    if (k != 2 || digits[0] == 0 || digits[0] > 2 || digits[1] == 0 || digits[1] > 2 || digits[2] != 4)
        return text;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int m = part[0], d = part[1], y = part[2];
    if (m < 1 || m > 12 || d < 1) return text;
    if (d > kDays[m - 1] + (m == 2 && isLeap(y) ? 1 : 0)) return text;
    return records::formatRecordDate(y, m, d);
}

// The label of a one-digit code field; a blank field reads as 0 ("N/A").
std::string codeLabelOf(const std::string& trimmedText, records::CodeTable table, int clientIndex,
                        const char* fieldName) {
    if (trimmedText.empty()) return std::string(records::codeLabels(table)[0]);
    const auto label = trimmedText.size() == 1 ? records::codeLabel(table, trimmedText[0]) : std::nullopt;
    if (!label)
        throw DataError("client record " + std::to_string(clientIndex), 0,
                        std::string("field ") + fieldName + " holds \"" + printable(trimmedText) +
                            "\", which is not a code of its list; the client file may be damaged");
    return std::string(*label);
}

// A value outside low..high; one that was no number at all is a fault already.
bool outside(const SequentialFile& f, int v, int low, int high) {
    return !f.lastValueFaulted() && (v < low || v > high);
}

int readItemNumber(SequentialFile& f) {
    const int v = f.inputInteger();
    if (outside(f, v, 1, kItemCount))
        f.fault(f.fieldLine(), "item number " + std::to_string(v) + " is not an item of the test (1 to 158)");
    return std::clamp(v, 1, kItemCount);
}

int readPercentile(SequentialFile& f) {
    const int v = f.inputInteger();
    if (outside(f, v, 0, 99)) f.fault(f.fieldLine(), "percentile " + std::to_string(v) + " is outside 0 to 99");
    return v;
}

// A count of values that follow; `limit` is what the tables can hold.
int readCount(SequentialFile& f, int limit, const std::string& what, const std::string& unit) {
    const int n = f.inputInteger();
    if (outside(f, n, 0, limit))
        f.fault(f.fieldLine(), what + " at most " + std::to_string(limit) + " " + unit + ", this one claims " +
                                   std::to_string(n));
    return std::max(n, 0);
}

// Names are printed inside the profile chart and the scale headings.
void checkName(SequentialFile& f, const std::string& name, std::size_t width, const std::string& what) {
    if (name.empty())
        f.fault(f.fieldLine(), what + " is empty");
    else
        f.checkPrintedLine(name, f.fieldLine(), width, what);
}

void readNames(SequentialFile& rpt, ScoringTables& t) {
    for (int s = 1; s <= kScaleCount; ++s) {
        t.ScaleNames[s] = rpt.inputString(true);
        checkName(rpt, t.ScaleNames[s], kMaxScaleNameLength, "scale name " + std::to_string(s));
    }
    rpt.endGroup("the 6 scale names");
    for (int r = 1; r <= 4; ++r) {
        t.RangeNames[r] = rpt.inputString(true);
        checkName(rpt, t.RangeNames[r], kMaxRangeNameLength, "range name " + std::to_string(r));
    }
    rpt.endGroup("the 4 range names");
}

// The line each significant item number stood on, for the check of a whole file.
using SignificantLines = std::array<int, kSignificantItemCount + 1>;

SignificantLines readSignificantItemNumbers(SequentialFile& dat, ScoringTables& t) {
    SignificantLines lines{};
    for (int i = 1; i <= kSignificantItemCount; ++i) {
        t.SignificantItemNumbers[i] = readItemNumber(dat);
        lines[static_cast<std::size_t>(i)] = dat.fieldLine();
    }
    dat.endGroup("the 46 significant item numbers");
    return lines;
}

// The number a report line starts with ("12. Drinks ..."), or -1 when it starts otherwise.
int leadingNumber(const std::string& line) {
    const auto dot = line.find('.');
    if (dot == 0 || dot == std::string::npos || dot > 3 || line.find_first_not_of("0123456789") != dot) return -1;
    return std::stoi(line.substr(0, dot));
}

// A line of the report text printed for an item must start with that item's number.
void checkItemNumber(SequentialFile& rpt, const std::string& line, int item, const std::string& what) {
    if (rpt.collectingFaults() && leadingNumber(line) != item)
        rpt.fault(rpt.fieldLine(), what + " does not start with \"" + std::to_string(item) + ".\", its item's number");
}

void readReportLines(SequentialFile& rpt, ScoringTables& t) {
    for (int i = 1; i <= kSignificantItemCount; ++i) {
        t.SignificantItemTexts[i] = rpt.lineInput();
        rpt.checkPrintedLine(t.SignificantItemTexts[i], rpt.fieldLine(), kSignificantLineWidth);
        if (t.SignificantItemNumbers[i] > 0)
            checkItemNumber(rpt, t.SignificantItemTexts[i], t.SignificantItemNumbers[i],
                            "the text of significant item " + std::to_string(i));
    }
    for (int i = 1; i <= kSection3LineCount; ++i) {
        t.Section3Texts[i] = rpt.lineInput();
        rpt.checkPrintedLine(t.Section3Texts[i], rpt.fieldLine(), kReportLineWidth);
        // Four lines for each section 3 item, one for each answer.
        checkItemNumber(rpt, t.Section3Texts[i], kSectionBounds[2] + 1 + (i - 1) / 4, "the section 3 line");
    }
    rpt.endFile("the last section 3 line");
}

const char* scaleName(int scale) {
    static constexpr const char* kNames[kScaleCount + 1] = {"", "Truthfulness", "Alcohol", "Drugs",
                                                            "Resistance", "Violence", "Stress"};
    return kNames[scale];
}

// The most points an answer to `item` can earn.
int mostPoints(const ScoringTables& t, int item) {
    const int section = sectionOf(item);
    const auto position = static_cast<std::size_t>(item - kSectionBounds[section - 1] - 1);
    int most = 0;
    for (int code = 1; code <= highestCode(section); ++code)
        most = std::max(most, t.AnswerKey[section][code][position] - '0');
    return most;
}

bool onScale(const ScoringTables& t, int scale, int item) {
    const auto& items = t.ScaleItems[scale];
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The `count` percentiles of a table by rising score. In a check, a table that is empty
// or falls is a fault: a higher score would rank lower.
std::vector<int> readRisingPercentiles(SequentialFile& dat, int count, const std::string& what, const char* by) {
    std::vector<int> percentiles;
    bool fell = false;
    for (int i = 1; i <= count; ++i) {
        percentiles.push_back(readPercentile(dat));
        const int p = percentiles.back();
        if (dat.collectingFaults() && !fell && i > 1 && p < percentiles[percentiles.size() - 2]) {
            fell = true;
            dat.fault(dat.fieldLine(), what + " falls at " + by + " " + std::to_string(i) + " (" + std::to_string(p) +
                                           " after " + std::to_string(percentiles[percentiles.size() - 2]) +
                                           "); percentiles must not fall");
        }
    }
    if (dat.collectingFaults() && count == 0) dat.fault(dat.fieldLine(), what + " is empty");
    return percentiles;
}

// The items listed in a block of significant or minimum-score items count only through
// the scale of their block, and only when an answer earns `fewest` points or more.
void checkBlockItem(SequentialFile& dat, const ScoringTables& t, int line, int position, int item,
                    const std::array<int, 4>& blockEnds, const std::string& what, int fewest) {
    int block = 0;
    while (position > blockEnds[static_cast<std::size_t>(block)]) ++block;
    const int scale = kAlcohol + block;
    if (!onScale(t, scale, item))
        dat.fault(line, what + " " + std::to_string(item) + " is listed for " + scaleName(scale) +
                            " but is not an item of that scale");
    else if (mostPoints(t, item) < fewest)
        dat.fault(line, what + " " + std::to_string(item) + " earns at most " + std::to_string(mostPoints(t, item)) +
                            " from any answer; it counts only from " + std::to_string(fewest) + " points");
}

void readKeysAndNorms(SequentialFile& dat, ScoringTables& t, const SignificantLines& significantLines) {
    const bool checking = dat.collectingFaults();
    static constexpr int kCodes[4] = {0, 2, 4, 4};
    for (int section = 1; section <= 3; ++section) {
        const auto length = static_cast<std::size_t>(kSectionBounds[section] - kSectionBounds[section - 1]);
        for (int code = 0; code <= kCodes[section]; ++code) {
            std::string key = dat.inputString(true);
            // One digit, the points earned, for each item of the section and nothing more.
            if (key.size() != length || key.find_first_not_of("0123456789") != std::string::npos) {
                dat.fault(dat.fieldLine(), "the answer key of section " + std::to_string(section) + ", code " +
                                               std::to_string(code) + " must hold " + std::to_string(length) +
                                               " digits");
                key.assign(length, '0');
            }
            if (checking && code == 0 && key.find_first_not_of('0') != std::string::npos)
                dat.fault(dat.fieldLine(), "the answer key of section " + std::to_string(section) +
                                               ", code 0 gives points: an unanswered item earns none");
            t.AnswerKey[section][code] = std::move(key);
            dat.endGroup("the answer key");
        }
    }

    for (int g = 1; g <= 2; ++g) {
        for (int s = 1; s <= 5; ++s) {
            const int n = readCount(dat, kMaxTableLength, "a percentile table may cover", "raw scores");
            t.PercentileTableLength[g][s] = std::min(n, kMaxTableLength);
            const auto percentiles = readRisingPercentiles(
                dat, n, "the percentile table of " + std::string(scaleName(s)) + ", sex group " + std::to_string(g),
                "raw score");
            for (int r = 1; r <= t.PercentileTableLength[g][s]; ++r)
                t.PercentileTable[g][r][s] = percentiles[static_cast<std::size_t>(r - 1)];
            dat.endGroup("the percentile table");
        }
    }
    for (int g = 1; g <= 2; ++g) {
        const auto percentiles = readRisingPercentiles(dat, 50, "the Stress percentiles of sex group " + std::to_string(g),
                                                       "band");
        std::copy(percentiles.begin(), percentiles.end(), t.StressPercentiles[g].begin() + 1);
        dat.endGroup("the 50 Stress percentiles");
    }
    for (int k = 1; k <= 51; ++k) {
        t.StressBounds[k] = dat.inputInteger();
        // A band is the raw scores above one limit up to the next.
        if (k > 1 && !dat.lastValueFaulted() && t.StressBounds[k] <= t.StressBounds[k - 1])
            dat.fault(dat.fieldLine(), "Stress band limit " + std::to_string(k) + " (" +
                                           std::to_string(t.StressBounds[k]) + ") is not above the one before it (" +
                                           std::to_string(t.StressBounds[k - 1]) + "); the limits must ascend");
    }
    // The bands must place every raw score the Stress ratio can give.
    if (checking && (t.StressBounds[1] >= kMinStressRaw || t.StressBounds[51] < kMaxStressRaw))
        dat.fault(dat.fieldLine(), "the Stress band limits run from " + std::to_string(t.StressBounds[1]) + " to " +
                                       std::to_string(t.StressBounds[51]) + "; they must start below " +
                                       std::to_string(kMinStressRaw) + " and reach " +
                                       std::to_string(kMaxStressRaw) + ", the raw scores Stress can take");
    dat.endGroup("the 51 Stress band limits");

    std::array<int, kScaleCount> scaleLines{};
    for (int s = 1; s <= 5; ++s) {
        const int n = readCount(dat, kMaxScaleItems, "a scale may list", "items");
        scaleLines[static_cast<std::size_t>(s)] = dat.fieldLine();
        for (int i = 1; i <= n; ++i) {
            const int item = readItemNumber(dat);
            // The Stress items count toward the Stress ratio only.
            const bool stressItem = item > kSectionBounds[1] && item <= kSectionBounds[1] + 2 * kStressGroupItems;
            if (checking && (onScale(t, s, item) || stressItem))
                dat.fault(dat.fieldLine(), "item " + std::to_string(item) +
                                               (stressItem ? " is a Stress item, listed" : " is listed twice") +
                                               " on the " + scaleName(s) + " scale");
            if (i <= kMaxScaleItems) t.ScaleItems[s].push_back(item);
        }
        if (checking && n == 0)
            dat.fault(dat.fieldLine(), std::string("the ") + scaleName(s) + " scale lists no items");
        dat.endGroup("the item list of scale " + std::to_string(s));
    }
    for (int item = 100; item <= 129; ++item) t.ScaleItems[kStress].push_back(item);

    for (int i = 1; i <= kMinimumScoreItemCount; ++i) {
        t.MinimumScoreItems[i] = readItemNumber(dat);
        // The floors count the answers that earn 2 or 3 points.
        if (checking)
            checkBlockItem(dat, t, dat.fieldLine(), i, t.MinimumScoreItems[i], kMinimumScoreBlockEnds,
                           "minimum-score item", 2);
    }
    dat.endGroup("the 68 minimum-score items");
    if (checking) {
        // The report lists a significant item when it earned 2 points or more.
        for (int i = 1; i <= kSignificantItemCount; ++i)
            checkBlockItem(dat, t, significantLines[static_cast<std::size_t>(i)], i, t.SignificantItemNumbers[i],
                           kSignificantBlockEnds, "significant item", 2);
        // The classification counts the points of cutting down on drinking and on drug use.
        for (const auto& [item, scale] : {std::pair{151, kAlcohol}, std::pair{154, kDrugs}})
            if (!onScale(t, scale, item))
                dat.fault(scaleLines[static_cast<std::size_t>(scale)],
                          "item " + std::to_string(item) + " is not on the " + scaleName(scale) +
                              " scale; the substance classification counts its points there");
    }
    for (int row = 1; row <= 9; ++row) {
        for (int s = 2; s <= kScaleCount; ++s) {
            const int v = dat.inputInteger();
            // More would only push a score past every table and band.
            const int limit = s == kStress ? kMaxStressRaw : kMaxTableLength;
            if (outside(dat, v, -limit, limit))
                dat.fault(dat.fieldLine(), "the truth correction " + std::to_string(v) + " (row " +
                                               std::to_string(row) + ", scale " + std::to_string(s) +
                                               ") is outside -" + std::to_string(limit) + " to " +
                                               std::to_string(limit) + ", the raw scores the scale can take");
            t.TruthCorrection[row][s] = std::clamp(v, -limit, limit);
        }
        dat.endGroup("row " + std::to_string(row) + " of the truth correction");
    }
    dat.endFile("the truth correction");
}

}  // namespace

void Scorer::SetTestConstants() {
    // The sections and code lists are fixed (kSectionBounds, records::codeLabels); only the
    // per-scoring state needs to start from nothing.
    client_ = ClientValues{};
    scores_ = Scores{};
}

void Scorer::LoadScoringFiles(const std::filesystem::path& folder, std::vector<DataError>* faults) {
    ScoringTables t;
    // Each file is read as far as it can be: a file that cannot be opened or ends early
    // ends its own reading, and with `faults` the other file is still read to its end.
    std::optional<SequentialFile> rpt, dat;
    auto step = [faults](std::optional<SequentialFile>& file, auto&& part) {
        if (!faults) return part();
        try {
            part();
        } catch (const DataError& e) {
            faults->push_back(e);
            file.reset();
        }
    };
    step(rpt, [&] { rpt.emplace(folder / kReportTextFile).collectFaults(faults); });
    step(dat, [&] { dat.emplace(folder / kScoringDataFile).collectFaults(faults); });
    if (rpt) step(rpt, [&] { readNames(*rpt, t); });
    SignificantLines significantLines{};
    if (dat) step(dat, [&] { significantLines = readSignificantItemNumbers(*dat, t); });
    if (rpt) step(rpt, [&] { readReportLines(*rpt, t); });
    if (dat) step(dat, [&] { readKeysAndNorms(*dat, t, significantLines); });

    for (int s = 1; s <= kScaleCount; ++s) t.NarrativeFiles[s] = folder / kNarrativeFileNames[s];
    t.InvalidTextFile = folder / kInvalidTextFile;
    tables_ = std::move(t);
}

void Scorer::LoadClientValues(const records::ClientRecord& rec, std::int16_t clientIndex) {
    const std::string where = "client record " + std::to_string(clientIndex);
    ClientValues v;
    static constexpr Field kLabelFields[8] = {Field::Name, Field::Age, Field::Sex, Field::Race,
                                              Field::Marital, Field::Education, Field::DateOfBirth,
                                              Field::TestDate};
    for (int i = 1; i <= 7; ++i) {
        v.ClientLabels[i] = trimmed(rec.raw(kLabelFields[i - 1]));
    }
    v.ClientLabels[8] = formatTestDate(trimmed(rec.raw(Field::TestDate)));

    v.SexLabel = codeLabelOf(v.ClientLabels[3], records::CodeTable::Sex, clientIndex, "Sex");
    v.RaceLabel = codeLabelOf(v.ClientLabels[4], records::CodeTable::Race, clientIndex, "Race");
    v.MaritalLabel = codeLabelOf(v.ClientLabels[5], records::CodeTable::Marital, clientIndex, "Marital");
    v.SexGroup = v.ClientLabels[3] == "2" ? 2 : 1;

    for (int k = 1; k <= 11; ++k) {
        std::string c = trimmed(rec.raw(records::kCourtFields[static_cast<std::size_t>(k - 1)]));
        if (c == "N" || c == "n" || c == "-1") c = "N/A";
        v.CourtValues[k] = std::move(c);
    }

    const auto answers = rec.raw(Field::Answers);
    for (int item = 1; item <= kItemCount; ++item) {
        const char c = answers[static_cast<std::size_t>(item - 1)];
        const int highest = highestCode(sectionOf(item));
        if (c == ' ') {
            v.AnswerValues[item] = 0;  // a blank reads as no answer
        } else if (c >= '0' && c - '0' <= highest) {
            v.AnswerValues[item] = c - '0';
        } else {
            throw DataError(where, 0, "field Answers, item " + std::to_string(item) + " holds answer code \"" +
                                          printable(std::string_view(&c, 1)) + "\", which the answer key does not cover" +
                                          "; the client file may be damaged");
        }
    }
    v.NameDeletedValue = NumericValue(rec.raw(Field::NameDeleted));
    v.ScoredClientIndex = clientIndex;
    client_ = std::move(v);
}

std::int16_t Scorer::add16(std::int16_t a, int b) const {
    const int sum = a + b;
    if (sum < std::numeric_limits<std::int16_t>::min() || sum > std::numeric_limits<std::int16_t>::max())
        throw DataError(kScoringDataFile, 0, "a score overflows; the scoring data file holds values out of scale",
                        err::Overflow);
    return static_cast<std::int16_t>(sum);
}

std::int16_t Scorer::pointsFor(int item) const {
    const int section = sectionOf(item);
    const int position = item - kSectionBounds[section - 1];
    const int code = client_.AnswerValues[item];
    const std::string& key = tables_.AnswerKey[section][code];
    return static_cast<std::int16_t>(key[static_cast<std::size_t>(position - 1)] - '0');
}

void Scorer::ComputeRawScores() {
    auto& sc = scores_;
    const auto& a = client_.AnswerValues;
    sc = Scores{};

    for (int s = 1; s <= 5; ++s) {
        for (int item : tables_.ScaleItems[s]) {
            if (a[item] == 0) ++sc.OmittedCount[s];
            const std::int16_t points = pointsFor(item);
            sc.ItemPoints[item] = points;
            sc.RawScore[s] = add16(sc.RawScore[s], points);
            if (points > 0) ++sc.ScoredItemCount[s];
        }
    }

    if (a[152] == 1) sc.RawScore[kDrugs] = add16(sc.RawScore[kDrugs], -2);
    if (a[152] == 2) sc.RawScore[kAlcohol] = add16(sc.RawScore[kAlcohol], -2);
    if (a[19] == 1) sc.RawScore[kViolence] = add16(sc.RawScore[kViolence], -1);
    if (a[65] == 1) sc.RawScore[kViolence] = add16(sc.RawScore[kViolence], -1);
    sc.ScoredItemCount[kStress] = 9;

    static constexpr int kGroupA[kStressGroupItems] = {100, 101, 103, 107, 108, 109, 112, 116,
                                                       118, 120, 121, 123, 124, 127, 129};
    static constexpr int kGroupB[kStressGroupItems] = {102, 104, 105, 106, 110, 111, 113, 114,
                                                       115, 117, 119, 122, 125, 126, 128};
    for (int item = 100; item <= 135; ++item)
        if (a[item] == 0) ++sc.OmittedCount[kStress];
    int sumA = 0, sumB = 0;
    for (int item : kGroupA) sumA += a[item] == 0 ? 1 : a[item];
    for (int item : kGroupB) sumB += a[item] == 0 ? 4 : a[item];
    sc.RawScore[kStress] = static_cast<std::int16_t>(sumB == 0 ? 0 : (sumA * 60) / sumB);

    int trueCount = 0;
    for (int item = 1; item <= 99; ++item)
        if (a[item] == 1) ++trueCount;
    if (trueCount > 94) {  // integer part of 99 x 0.95
        sc.RawScore[kTruthfulness] = 99;
        return;
    }

    auto value = [this](int k) { return NumericValue(client_.CourtValues[k]); };
    auto banded = [](int v, std::initializer_list<std::pair<int, int>> upTo) {
        // upTo: (highest value of the band, points), bands in rising order from 1.
        if (v < 1 || v > 99) return 0;
        for (auto [high, points] : upTo)
            if (v <= high) return points;
        return 0;
    };
    int violence = 0;
    violence += banded(value(1), {{14, 5}, {16, 4}, {18, 3}, {20, 2}, {99, 1}});
    violence += banded(value(2), {{2, 1}, {4, 2}, {8, 3}, {12, 4}, {99, 5}});
    violence += std::min(value(4), 5);
    violence += banded(value(6), {{1, 1}, {2, 2}, {4, 3}, {6, 4}, {99, 5}});
    violence += banded(value(7), {{2, 1}, {4, 2}, {8, 3}, {12, 4}, {99, 5}});
    violence += std::min(value(8), 5);
    if (client_.CourtValues[11].find('N') == std::string::npos) {
        const int months = value(11);
        violence += months == 0 ? 4 : banded(months, {{3, 3}, {6, 2}, {9, 1}});
    }
    sc.RawScore[kViolence] = add16(sc.RawScore[kViolence], violence);
    sc.RawScore[kAlcohol] = add16(sc.RawScore[kAlcohol], std::min(value(9), 5));
    sc.RawScore[kDrugs] = add16(sc.RawScore[kDrugs], std::min(value(10), 5));
}

void Scorer::applyFloors(int scale, int firstMinItem, int lastMinItem) {
    auto& sc = scores_;
    int c2 = 0, c3 = 0;
    for (int i = firstMinItem; i <= lastMinItem; ++i) {
        const int points = sc.ItemPoints[tables_.MinimumScoreItems[i]];
        if (points == 2) ++c2;
        if (points == 3) ++c3;
    }

    if (scale == kAlcohol || scale == kDrugs) {
        bool& flag = scale == kAlcohol ? sc.AlcoholArrestFloor : sc.DrugArrestFloor;
        flag = false;
        const int arrests = NumericValue(client_.CourtValues[scale == kAlcohol ? 9 : 10]);
        static constexpr int kArrestFloor[6] = {0, 40, 61, 72, 80, 89};
        if (arrests >= 1) {
            const int floor = kArrestFloor[std::min(arrests, 5)];
            if (sc.Percentile[scale] < floor) {
                sc.Percentile[scale] = static_cast<std::int16_t>(floor);
                flag = true;
            }
        }
    }

    // Columns: Alcohol, Drugs, Resistance, Violence.
    static constexpr int kFloors[12][4] = {
        {12, 13, 11, 14}, {25, 26, 24, 27}, {38, 39, 37, 40}, {43, 44, 42, 45},
        {49, 50, 48, 51}, {53, 54, 52, 55}, {59, 59, 58, 60}, {68, 69, 67, 68},
        {71, 72, 73, 74}, {78, 79, 80, 81}, {87, 88, 86, 87}, {91, 92, 93, 94}};
    const int n = c2 + c3;
    const bool rows[12] = {c3 == 1,          n == 2 && c2 == 2, n == 2 && c3 == 1, n == 2 && c3 == 2,
                           n == 3,           n == 4,            n == 5,            n == 6,
                           n == 7,           n == 8,            n == 9,            n >= 10};
    const int column = scale - kAlcohol;
    for (int r = 0; r < 12; ++r)
        if (rows[r] && sc.Percentile[scale] < kFloors[r][column])
            sc.Percentile[scale] = static_cast<std::int16_t>(kFloors[r][column]);
}

void Scorer::computePercentilesOfScales() {
    auto& sc = scores_;
    const int g = client_.SexGroup;
    for (int s = 1; s <= 5; ++s) {
        const int n = tables_.PercentileTableLength[g][s];
        const int raw = sc.RawScore[s];
        if (raw > n) {
            sc.Percentile[s] = 99;
            continue;
        }
        if (raw <= 0) {
            sc.Percentile[s] = 0;
            continue;
        }
        sc.Percentile[s] = static_cast<std::int16_t>(tables_.PercentileTable[g][raw][s]);
        if (s == kTruthfulness) {
            const int t = sc.Percentile[s];
            auto correct = [&](int row) {
                for (int s2 = 2; s2 <= kScaleCount; ++s2)
                    if (sc.ScoredItemCount[s2] >= 1)
                        sc.RawScore[s2] = add16(sc.RawScore[s2], tables_.TruthCorrection[row][s2]);
            };
            if (t > 94) {
                for (int s2 = 2; s2 <= kScaleCount; ++s2) sc.Percentile[s2] = 99;
                correct(9);
                return;
            }
            if (t >= 10) correct(t >= 90 ? 9 : t / 10);
        } else {
            const auto block = static_cast<std::size_t>(s - kAlcohol);
            applyFloors(s, block == 0 ? 1 : kMinimumScoreBlockEnds[block - 1] + 1, kMinimumScoreBlockEnds[block]);
        }
    }

    const int raw = sc.RawScore[kStress];
    if (raw <= 0) {
        sc.Percentile[kStress] = 99;
        return;
    }
    for (int k = 1; k <= 50; ++k) {
        if (tables_.StressBounds[k] < raw && raw <= tables_.StressBounds[k + 1]) {
            sc.Percentile[kStress] = static_cast<std::int16_t>(tables_.StressPercentiles[g][k]);
            break;
        }
    }
}

void Scorer::ComputePercentiles() {
    // The arrest flags and the classification belong to this client alone: they are
    // cleared here and the classification is computed whatever path the percentiles took.
    scores_.AlcoholArrestFloor = false;
    scores_.DrugArrestFloor = false;
    scores_.Class = Classification{};
    computePercentilesOfScales();
    ClassifySubstanceUse(1);
}

const records::ClientRecord& clientOf(const records::ClientTable& table, std::int16_t clientIndex) {
    if (clientIndex < 1 || clientIndex > table.NumClients || clientIndex > records::kMaxClients)
        throw DataError("client record " + std::to_string(clientIndex), 0,
                        "there is no such client (the file holds " + std::to_string(table.NumClients) + ")",
                        err::SubscriptOutOfRange);
    return table.Clients[static_cast<std::size_t>(clientIndex)];
}

void Scorer::Score(const std::filesystem::path& programFolder, const records::ClientTable& table,
                   std::int16_t clientIndex) {
    Score(programFolder, clientOf(table, clientIndex), clientIndex);
}

void Scorer::Score(const std::filesystem::path& programFolder, const records::ClientRecord& record,
                   std::int16_t clientIndex) {
    SetTestConstants();
    LoadScoringFiles(programFolder);
    LoadClientValues(record, clientIndex);
    ComputeRawScores();
    ComputePercentiles();
}

}  // namespace kcs::scoring
