#pragma once
// Scoring of one client: the answer key, the norms and the six scale scores, and the
// substance dependency/abuse classification. Every table and result lives in a Scorer,
// so one scoring never sees what an earlier one left behind. Arrays are indexed from 1
// as the scales, items and rows are numbered; index 0 is unused.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "kcs/records/ClientFile.h"
#include "kcs/scoring/DataError.h"

namespace kcs::scoring {

inline constexpr int kScaleCount = 6;
inline constexpr int kTruthfulness = 1, kAlcohol = 2, kDrugs = 3, kResistance = 4,
                     kViolence = 5, kStress = 6;
inline constexpr int kItemCount = 158;
inline constexpr int kSignificantItemCount = 46;
inline constexpr int kSection3LineCount = 92;
inline constexpr int kMaxTableLength = 77;   // raw scores a percentile table can cover
inline constexpr int kMaxScaleItems = 40;    // items a keyed scale can list
inline constexpr int kMinimumScoreItemCount = 68;
inline constexpr int kStressGroupItems = 15;
inline constexpr std::array<int, 4> kSectionBounds = {0, 99, 135, 158};
// The section an item belongs to (1 to 3), and the highest answer code its items take.
inline constexpr int sectionOf(int item) { return item <= kSectionBounds[1] ? 1 : item <= kSectionBounds[2] ? 2 : 3; }
inline constexpr int highestCode(int section) { return section == 1 ? 2 : 4; }
// 15 group A answers of 4 against 15 group B answers of 1: (60 x 60) / 15; the lowest
// is 15 group A answers of 1 against 15 group B answers of 4: (15 x 60) / 60.
inline constexpr int kMaxStressRaw = 240;
inline constexpr int kMinStressRaw = 15;
// The significant items and the minimum-score items are listed in blocks, one for each of
// Alcohol, Drugs, Resistance and Violence in turn: the last list position of each block.
inline constexpr std::array<int, 4> kSignificantBlockEnds = {12, 25, 33, 46};
inline constexpr std::array<int, 4> kMinimumScoreBlockEnds = {16, 33, 52, 68};

// Widths the 80-column report leaves for the texts it prints as they stand: lines behind
// the 7-space margin, narrative lines behind the 8-space margin, significant-item lines
// in two columns, and the names inside the profile chart and the scale headings.
inline constexpr std::size_t kReportLineWidth = 71;
inline constexpr std::size_t kNarrativeLineWidth = 72;
inline constexpr std::size_t kSignificantLineWidth = 36;
inline constexpr std::size_t kMaxScaleNameLength = 20;
inline constexpr std::size_t kMaxRangeNameLength = 12;

inline constexpr const char* kScoringDataFile = "KCSB.TXT";
inline constexpr const char* kReportTextFile = "KCSRPTnew.TXT";
inline constexpr const char* kInvalidTextFile = "INVAL.TXT";
inline constexpr std::array<const char*, 7> kNarrativeFileNames = {
    "", "KCSVA.TXT", "KCSAL.TXT", "KCSDG.TXT", "KCSRE.TXT", "KCSVI.TXT", "KCSSC.TXT"};

// Risk range of a percentile: 1 low (up to 39), 2 medium (40-69), 3 problem (70-89),
// 4 maximum (90 and up).
int RiskRange(int percentile);
// Label of the narrative block and scale heading: the low and problem ranges by their
// names in the report text file, the medium and maximum ranges split at 56 and 95.
std::string RangeLabel(int percentile, const std::array<std::string, 5>& rangeNames);
bool InRange(int value, int low, int high);
// Numeric value of a text the way the record's digits are read: leading blanks skipped,
// an optional sign, then digits up to the first other character; 0 when there are none.
int NumericValue(std::string_view text);

// Everything loaded from the scoring data file and the report text file.
struct ScoringTables {
    std::array<std::string, kScaleCount + 1> ScaleNames{};
    std::array<std::string, 5> RangeNames{};
    std::array<std::filesystem::path, kScaleCount + 1> NarrativeFiles{};
    std::filesystem::path InvalidTextFile;
    std::array<int, kSignificantItemCount + 1> SignificantItemNumbers{};
    std::array<std::string, kSignificantItemCount + 1> SignificantItemTexts{};
    std::array<std::string, kSection3LineCount + 1> Section3Texts{};
    // [section 1..3][answer code 0..4]: one digit per item position of the section.
    std::array<std::array<std::string, 5>, 4> AnswerKey{};
    // [sex group 1..2][raw score 1..77][scale 1..5]
    std::array<std::array<std::array<int, kScaleCount>, kMaxTableLength + 1>, 3> PercentileTable{};
    std::array<std::array<int, kScaleCount>, 3> PercentileTableLength{};
    std::array<std::array<int, 51>, 3> StressPercentiles{};
    std::array<int, 52> StressBounds{};
    std::array<std::vector<int>, kScaleCount + 1> ScaleItems{};
    std::array<int, kMinimumScoreItemCount + 1> MinimumScoreItems{};
    // [row 1..9][scale 2..6]
    std::array<std::array<int, kScaleCount + 1>, 10> TruthCorrection{};
};

// The client being scored, as the report shows it.
struct ClientValues {
    // 1 Name, 2 Age, 3 Sex, 4 Race, 5 Marital, 6 Education, 7 DateOfBirth, 8 TestDate.
    std::array<std::string, 9> ClientLabels{};
    std::string SexLabel, RaceLabel, MaritalLabel;
    std::array<std::string, 12> CourtValues{};  // 1..11, "N/A" when not available
    std::array<int, kItemCount + 1> AnswerValues{};
    int SexGroup = 1;
    int NameDeletedValue = 0;
    int ScoredClientIndex = 0;
};

// What the classification found, and in print mode the paragraph it prints.
struct Classification {
    std::int16_t DependencyFlag = 0;
    std::int16_t AbuseCount = 0;
    bool OmittedFlag = false;
    bool PhysiologicalFlag = false;
    bool ArrestsFlag = false;
    int DependencyCriteria = 0;
    std::string DependencyList, ToleranceText, AbuseList;
    std::string DrinkingRating, DrugRating, RatingSubject;
    int RatingSeverity = 0;
    std::string SelfRatingSentence;
    // Print mode only: the paragraph as one long text (empty when OmittedFlag is set).
    std::string Paragraph;
};

struct Scores {
    std::array<std::int16_t, kScaleCount + 1> RawScore{};
    std::array<std::int16_t, kScaleCount + 1> Percentile{};
    std::array<std::int16_t, kScaleCount + 1> OmittedCount{};
    std::array<std::int16_t, kScaleCount + 1> ScoredItemCount{};
    std::array<std::int16_t, kItemCount + 1> ItemPoints{};
    bool AlcoholArrestFloor = false;
    bool DrugArrestFloor = false;
    Classification Class;

    // A scale with more than 4 unanswered items is reported as not scored.
    bool scored(int scale) const { return OmittedCount[static_cast<std::size_t>(scale)] <= 4; }
    // The test is invalid (short report) when Truthfulness is at the 95th percentile or above.
    bool invalid() const { return Percentile[kTruthfulness] >= 95; }
    int range(int scale) const { return RiskRange(Percentile[static_cast<std::size_t>(scale)]); }
};

// Slot `clientIndex` of the table; DataError when the table holds no such client.
const records::ClientRecord& clientOf(const records::ClientTable& table, std::int16_t clientIndex);

class Scorer {
public:
    void SetTestConstants();
    // Reads KCSB.TXT and KCSRPTnew.TXT from the program folder, interleaved, and checks
    // every value against what scoring and the report need. The first fault throws a
    // DataError naming the file and line; with `faults`, every fault of both files is
    // kept there instead and the tables hold what could be read. A check with `faults` also
    // lists what a scoring takes as it stands but an agency's files must not hold: norm
    // tables that fall, Stress bands that miss a raw score, an item twice on a scale,
    // significant and minimum-score items that cannot count on their scale, report lines
    // numbered for another item.
    void LoadScoringFiles(const std::filesystem::path& programFolder, std::vector<DataError>* faults = nullptr);
    // Copies the client's record (number `clientIndex` on its drive) into the working
    // values; the record itself is only read. Throws DataError for a damaged code digit or
    // answer code, naming the record and field.
    void LoadClientValues(const records::ClientRecord& record, std::int16_t clientIndex);
    void ComputeRawScores();
    // Percentiles, truth correction and floors; then, for every client, the classification.
    void ComputePercentiles();
    // mode 1 computes the flags only; any other mode also builds the paragraph.
    const Classification& ClassifySubstanceUse(int mode);

    // The whole chain short of the report, for callers that only want the numbers.
    void Score(const std::filesystem::path& programFolder, const records::ClientRecord& record,
               std::int16_t clientIndex);
    // The same for slot `clientIndex` of a table; a slot the table does not hold is a DataError.
    void Score(const std::filesystem::path& programFolder, const records::ClientTable& table,
               std::int16_t clientIndex);

    const ScoringTables& tables() const { return tables_; }
    ScoringTables& tables() { return tables_; }
    const ClientValues& client() const { return client_; }
    ClientValues& client() { return client_; }
    const Scores& scores() const { return scores_; }
    Scores& scores() { return scores_; }

private:
    void computePercentilesOfScales();
    std::int16_t pointsFor(int item) const;
    void applyFloors(int scale, int firstMinItem, int lastMinItem);
    std::int16_t add16(std::int16_t a, int b) const;

    ScoringTables tables_;
    ClientValues client_;
    Scores scores_;
};

}  // namespace kcs::scoring
