#include "kcs/report/ReportWriter.h"

#include <algorithm>
#include <array>

#include "kcs/common/Publishers.h"
#include "kcs/report/Paragraph.h"
#include "kcs/report/TextFiles.h"

namespace kcs::report {

using scoring::kAlcohol;
using scoring::kDrugs;
using scoring::kTruthfulness;

namespace {

constexpr std::string_view kGuide = "-...............-...........-.......-...-";
constexpr std::string_view kChartTop = "+---------------+-----------+-------+---+";
constexpr std::string_view kChartEmptyRow = "-               -           -       -   -";
constexpr std::string_view kUnderscores71 =
    "_______________________________________________________________________";
constexpr std::string_view kObservations =
    "OBSERVATIONS/RECOMMENDATIONS:__________________________________________";

bool containsN(const std::string& s) { return s.find('N') != std::string::npos; }

// The bar of a percentile: one asterisk per 2.5 percent and one more, then the rest of
// the guide whose dashes mark the 0th, 40th, 70th, 90th and 100th percentiles.
std::string bar(int percentile) {
    const int n = std::clamp(percentile * 10 / 25, 0, 40);
    std::string s(static_cast<std::size_t>(n + 1), '*');
    s.append(kGuide.substr(kGuide.size() - static_cast<std::size_t>(40 - n)));
    return s;
}

}  // namespace

void ReportWriter::blank(int count) {
    for (int i = 0; i < count; ++i) {
        out_.endLine();
        ++LineCount;
    }
}

void ReportWriter::line(std::string_view text) {
    out_.spaces(7).text(text).endLine();
    ++LineCount;
}

void ReportWriter::confidentialityParagraph() {
    line("Kestrel Conduct Screening results  are  confidential  and  are  working");
    line("hypotheses. No diagnosis or decision  should be based solely upon these");
    line("results. These test results are to be used in conjunction with  experi-");
    line("enced staff judgment and review of available records.");
}

std::string ReportWriter::WriteClientReport() {
    const auto& sc = scorer_.scores();
    const auto& client = scorer_.client();
    const auto& tables = scorer_.tables();

    PageNumber = 1;
    LineCount = 1;
    courtValues_.reset();
    blank();

    PrintReportHeading(1);
    blank();
    confidentialityParagraph();
    blank(2);

    if (LineCount + 20 > kPageLength) PrintPageHeader();
    PrintProfileChart(1, 6);

    if (!invalid()) {
        std::string kind;
        if (client.AnswerValues[74] == 1 || sc.Class.DependencyFlag != 0)
            kind = "substance dependent";
        else if (sc.Class.AbuseCount > 0)
            kind = "substance abuse";
        auto centred = [this](std::string_view line) {
            out_.column(42 - static_cast<int>(line.size()) / 2).text(line).endLine();
            ++LineCount;
        };
        if (!kind.empty()) {
            centred("*** Substance (Dependency/Abuse) Classification: " + kind);
        } else {
            centred("According to DSM-IV criteria as represented in the KCS, this");
            centred(" person does not meet the criteria of dependency or abuse.");
        }
        blank();
    }

    blank();
    if (LineCount + 9 > kPageLength) PrintPageHeader();
    PrintAdditionalInformation();

    if (invalid()) PrintSignatureBlock();
    PrintPublisherNotice(2);
    if (LineCount + 5 > kPageLength) PrintPageHeader();

    if (invalid()) {
        PrintInvalidText();
        line(publisherFor(publisherFlag_).invalidHelp);
        blank();
        line("____________________________       _____________");
        line("STAFF MEMBER SIGNATURE             DATE");
        blank();
        PrintResponses();
        PrintPublisherNotice(1);
        return out_.take();
    }

    for (int s = 1; s <= scoring::kScaleCount; ++s) {
        if (!sc.scored(s)) {
            line(tables.ScaleNames[s]);
            PrintScaleInvalidNote(1);
        } else {
            if (s == kTruthfulness && sc.RawScore[kTruthfulness] == 99) {
                out_.spaces(7).text(tables.ScaleNames[s]).text(" SCALE: ").text("MAXIMUM RISK RANGE").endLine();
                ++LineCount;
                PrintScaleInvalidNote(2);
            } else {
                PrintScaleNarrative(s);
            }
            if (LineCount > 2 && LineCount < kPageLength) blank();
            if (s == kTruthfulness) ClassifySubstanceUse(2);
        }
        if (LineCount + 2 > kPageLength) PrintPageHeader();
    }

    if (LineCount + 10 > kPageLength) PrintPageHeader();
    PrintSignatureBlock();

    if (LineCount + 6 > kPageLength) PrintPageHeader();
    PrintResponses();
    PrintSignificantItems();

    BreakBeforeSection3();
    PrintSection3Answers();

    if (LineCount < kPageLength) PrintPublisherNotice(2);
    if (summaryPage_) WriteOnePageSummary();
    return out_.take();
}

void ReportWriter::BreakBeforeSection3() {
    // The section 3 answers need 18 lines; without that room they start a new page,
    // whatever line the significant items ended on (a page must never run on past its
    // foot). The product notice closes the page only where there is a line left for it.
    if (LineCount + 18 > kPageLength) {
        if (LineCount < 57) PrintPublisherNotice(1);
        PrintPageHeader();
    }
}

void ReportWriter::PrintPageHeader() {
    ++PageNumber;
    out_.formFeedLine();
    const char digit = static_cast<char>('0' + PageNumber % 10);
    out_.spaces(7).text("NAME: ").text(scorer_.client().ClientLabels[1]);
    out_.column(41).text("-").text(std::string_view(&digit, 1)).text("-");
    out_.column(69).text("KCS REPORT").endLine();
    out_.endLine();
    LineCount = 2;
}

void ReportWriter::PrintReportHeading(int kind) {
    const auto& c = scorer_.client();
    auto na = [](const std::string& s) { return containsN(s) ? std::string("N/A") : s; };

    out_.column(30).text("KESTREL CONDUCT SCREENING").endLine();
    out_.column(30).text("*************************").endLine();
    if (kind == 2) out_.column(34).text("ONE-PAGE SUMMARY");
    out_.endLine();
    out_.spaces(7).text("NAME OR ID#: ").text(c.ClientLabels[1]).endLine();
    out_.spaces(7).text("AGE : ").text(na(c.ClientLabels[2])).text("     SEX: ").text(c.SexLabel);
    out_.column(60).text("CONFIDENTIAL REPORT").endLine();
    out_.spaces(7).text("ETHNICITY/RACE: ").text(c.RaceLabel).endLine();
    out_.spaces(7).text("MARITAL STATUS: ").text(c.MaritalLabel).endLine();
    out_.spaces(7).text("EDUCATION/HIGHEST GRADE: ").text(na(c.ClientLabels[6])).endLine();
    out_.spaces(7).text("DATE OF BIRTH: ").text(na(c.ClientLabels[7])).endLine();
    out_.spaces(7).text("DATE SCORED: ").text(c.ClientLabels[8]).endLine();
    out_.endLine();
    LineCount += 11;
}

void ReportWriter::PrintProfileChart(int first, int last) {
    const auto& sc = scorer_.scores();
    const auto& names = scorer_.tables().ScaleNames;

    out_.spaces(7).text("MEASURES").spaces(12).text("%ile").spaces(6).text("                KCS PROFILE").endLine();
    out_.spaces(7).text("--------").spaces(12).text("----").spaces(6).text(kChartTop).endLine();
    out_.spaces(37).text("-   LOW RISK    -  MEDIUM   -PROBLEM-MAX-").endLine();
    out_.spaces(37).text(kChartEmptyRow).endLine();

    bool anyNotScored = false;
    for (int s = first; s <= last; ++s) {
        const int p = sc.Percentile[static_cast<std::size_t>(s)];
        out_.spaces(7).text(names[static_cast<std::size_t>(s)]).column(p < 10 ? 29 : 28);
        if (!sc.scored(s)) {
            anyNotScored = true;
            out_.text(" **").column(38).text("Scale not scored, insufficient answers");
        } else {
            out_.number(p);
            if ((s == kTruthfulness && p >= 90) || (s == kAlcohol && sc.AlcoholArrestFloor) ||
                (s == kDrugs && sc.DrugArrestFloor))
                out_.text("*");
            out_.column(38).text(bar(p));
        }
        out_.endLine();
        out_.spaces(37).text(s == last ? kChartTop : kChartEmptyRow).endLine();
    }

    const bool inaccurate = sc.Percentile[kTruthfulness] >= 90;
    out_.spaces(7);
    if (anyNotScored)
        out_.text("** Too many omitted items");
    else if (inaccurate)
        out_.text("* These test results");
    out_.column(38).text("0").spaces(15).text("40").spaces(10).text("70").spaces(6).text("90 100").endLine();

    out_.spaces(7);
    if (anyNotScored)
        out_.text("   to score this scale");
    else if (inaccurate)
        out_.text("  are inaccurate");
    else if (sc.AlcoholArrestFloor || sc.DrugArrestFloor)
        out_.text("* Minimum Scale Score");
    out_.column(38).text("----------- PERCENTILE SCORES -----------").endLine();
    out_.endLine();
    LineCount += 2 * (last - first) + 9;
}

void ReportWriter::PrintAdditionalInformation() {
    if (!courtValues_) courtValues_ = scorer_.client().CourtValues;
    auto& v = *courtValues_;
    for (int k = 1; k <= 11; ++k) {
        if (containsN(v[k])) v[k] = "N/A";
        if (v[k].size() < 2) v[k] = " " + v[k];
    }
    static constexpr std::string_view kLeft[5] = {
        "Age at first arrest..........", "Felony arrests...............", "Times on probation...........",
        "Probation revocations........", "Times on parole.............."};
    static constexpr std::string_view kRight[5] = {
        "Total number of times arrested..", "Jail sentences..................", "Prison sentences................",
        "Alcohol-related arrests.........", "Drug-related arrests............"};

    out_.spaces(21).text("ADDITIONAL INFORMATION PROVIDED BY CLIENT").endLine();
    out_.spaces(21).text("-----------------------------------------").endLine();
    for (int i = 0; i < 5; ++i) {
        out_.spaces(7).text(kLeft[i]).text(v[static_cast<std::size_t>(i + 1)]);
        out_.column(43).text(kRight[i]).text(v[static_cast<std::size_t>(i + 6)]).endLine();
    }
    out_.column(8).text("Months employed last 12 mos..").text(v[11]).endLine();
    LineCount += 8;
    if (LineCount < kPageLength) blank();
}

void ReportWriter::PrintScaleNarrative(int scale) {
    const auto& tables = scorer_.tables();
    const int p = scorer_.scores().Percentile[static_cast<std::size_t>(scale)];
    const std::string label = scoring::RangeLabel(p, tables.RangeNames);

    out_.spaces(7).text(tables.ScaleNames[static_cast<std::size_t>(scale)]).text(" SCALE: ").text(label);
    out_.text(" RISK RANGE").column(61).text("RISK PERCENTILE:").text(std::to_string(p)).endLine();
    ++LineCount;

    scoring::SequentialFile file(tables.NarrativeFiles[static_cast<std::size_t>(scale)]);
    for (const auto& text : ReadNarrativeBlock(file, label, NarrativeLabels(tables.RangeNames))) {
        out_.spaces(8).text(text).endLine();
        ++LineCount;
        if (LineCount == kPageLength) PrintPageHeader();
    }
}

void ReportWriter::PrintScaleInvalidNote(int code) {
    out_.endLine();
    if (code == 1) {
        out_.spaces(7).text("This scale  is inaccurate  and  not  scorable  because  the  respondent").endLine();
        out_.spaces(7).text("omitted or skipped an excessive number of items.").endLine();
    } else if (code == 2) {
        out_.spaces(7).text("This Truthfulness Scale is inaccurate because there were  an  excessive").endLine();
        out_.spaces(7).text("number of True responses in Section 1.").endLine();
    }
    LineCount += 3;
    if (LineCount < kPageLength) blank();
}

void ReportWriter::PrintInvalidText() {
    scoring::SequentialFile file(scorer_.tables().InvalidTextFile);
    for (const auto& text : ReadInvalidText(file)) line(text);
}

void ReportWriter::ClassifySubstanceUse(int mode) {
    const auto& c = scorer_.ClassifySubstanceUse(mode);
    if (mode == 1) return;
    if (c.OmittedFlag) {
        line("DEPENDENCY/ABUSE CLASSIFICATION: This defendant omitted one or  more  of");
        line("the DSM-IV Dependency/Abuse Scale items  (or  their  equivalent  items).");
        line("These omissions should be corrected, so that this scale can be scored.");
        blank();
        return;
    }
    for (const auto& text : WrapParagraph(c.Paragraph)) {
        line(text);
        if (LineCount >= kPageLength) PrintPageHeader();
    }
    if (LineCount < kPageLength) blank();
}

void ReportWriter::signatureBlock(int ruledLines, bool fitPage) {
    line(kObservations);
    for (int i = 0; i < ruledLines; ++i) {
        blank();
        line(kUnderscores71);
        // Only one ruled line on an invalid test; otherwise as many as the page holds.
        if (fitPage && (invalid() || LineCount + 5 > kPageLength)) break;
    }
    blank();
    line("______________________        ______________");
    out_.spaces(7).text("STAFF MEMBER SIGNATURE             DATE").column(62).text("(KCS TEST #");
    out_.number(scorer_.client().ScoredClientIndex).text(")").endLine();
    ++LineCount;
    if (LineCount < kPageLength) blank();
}

void ReportWriter::PrintSignatureBlock() { signatureBlock(7, true); }

void ReportWriter::PrintResponses() {
    const auto& a = scorer_.client().AnswerValues;
    auto code = [&](int item) -> char {
        if (item <= 99) return a[item] == 1 ? 'T' : a[item] == 2 ? 'F' : '0';
        return static_cast<char>('0' + a[item] % 10);
    };
    out_.column(36).text("KCS RESPONSES").endLine();
    out_.column(36).text("-------------").endLine();
    static constexpr std::string_view kRowHeads[3] = {"  1- 50   ", " 51-100   ", "101-150   "};
    for (int row = 0; row < 3; ++row) {
        out_.spaces(7).text(kRowHeads[row]);
        for (int j = 1; j <= 50; ++j) {
            const char c = code(row * 50 + j);
            out_.text(std::string_view(&c, 1));
            if (j % 10 == 0) out_.text("  ");
        }
        out_.endLine();
    }
    out_.spaces(7).text("151-158   ");
    for (int item = 151; item <= 158; ++item) {
        const char c = code(item);
        out_.text(std::string_view(&c, 1));
    }
    out_.endLine();
    LineCount += 6;
    if (LineCount < kPageLength) blank();
}

void ReportWriter::PrintSignificantItems() {
    const auto& sc = scorer_.scores();
    const auto& t = scorer_.tables();
    std::array<std::vector<std::string>, 4> blocks;
    int first = 1;
    for (int b = 0; b < 4; ++b) {
        for (int i = first; i <= scoring::kSignificantBlockEnds[static_cast<std::size_t>(b)]; ++i)
            if (sc.ItemPoints[static_cast<std::size_t>(t.SignificantItemNumbers[i])] >= 2)
                blocks[b].push_back(t.SignificantItemTexts[i]);
        first = scoring::kSignificantBlockEnds[static_cast<std::size_t>(b)] + 1;
        if (b == 0 && sc.AlcoholArrestFloor) blocks[b].emplace_back("** Score due to alcohol arrests");
        if (b == 1 && sc.DrugArrestFloor) blocks[b].emplace_back("** Score due to drug arrests");
        if (blocks[b].empty()) {
            blocks[b].emplace_back("No significant items were reported");
            blocks[b].emplace_back("for this scale.");
        }
    }

    const int firstPairRows = static_cast<int>(std::max(blocks[0].size(), blocks[1].size()));
    if (LineCount + 6 + firstPairRows > kPageLength) PrintPageHeader();
    line("SIGNIFICANT  ITEMS:  The  answers   are  the   client's   self-reported");
    line("responses. And, they represent direct admissions or unusual  responses,");
    line("which may help in understanding the client's situation.");
    blank();

    static constexpr std::string_view kHeads[4] = {"ALCOHOL", "DRUGS", "RESISTANCE", "VIOLENCE"};
    for (int pair = 0; pair < 2; ++pair) {
        const auto& left = blocks[static_cast<std::size_t>(2 * pair)];
        const auto& right = blocks[static_cast<std::size_t>(2 * pair + 1)];
        const std::size_t rows = std::max(left.size(), right.size());
        if (LineCount + 2 + static_cast<int>(rows) > kPageLength) {
            PrintPageHeader();
            line("SIGNIFICANT ITEMS (continued):");
            blank();
        }
        const auto leftHead = kHeads[2 * pair], rightHead = kHeads[2 * pair + 1];
        out_.spaces(7).text(leftHead).column(44).text(rightHead).endLine();
        out_.spaces(7).text(std::string(leftHead.size(), '-')).column(44).text(std::string(rightHead.size(), '-'));
        out_.endLine();
        LineCount += 2;
        for (std::size_t r = 0; r < rows; ++r) {
            if (r < left.size()) out_.spaces(7).text(left[r]);
            if (r < right.size()) out_.column(44).text(right[r]);
            out_.endLine();
            ++LineCount;
        }
        if (LineCount > 2 && LineCount < kPageLength) blank();
    }
    if (LineCount > 2 && LineCount < kPageLength) blank();
}

void ReportWriter::PrintSection3Answers() {
    const auto& a = scorer_.client().AnswerValues;
    const auto& texts = scorer_.tables().Section3Texts;
    line("SECTION 3: The client's  answers to  multiple choice  items are printed");
    line("below. It should  be noted  that these  answers represent  the client's");
    line("opinion--with  all of its biases.  These multiple choice answers  allow");
    line("comparison  of the  client's  subjective  opinions with  objective  and");
    line("empirically based scale scores.");
    blank();
    for (int item = 136; item <= 158; ++item) {
        const int i = item - 135;
        const int code = a[item];
        out_.spaces(7);
        if (code >= 1 && code <= 4)
            out_.text(texts[static_cast<std::size_t>(4 * (i - 1) + code)]);
        else
            out_.text(std::to_string(item % 1000)).text(". No response given");
        out_.endLine();
        ++LineCount;
        if (LineCount == kPageLength) PrintPageHeader();
    }
    ++LineCount;
    if (LineCount > 2 && LineCount < kPageLength) blank();
}

void ReportWriter::PrintPublisherNotice(int kind) {
    if (kind == 1) {
        while (LineCount < 57) blank();
        out_.column(10).text(kProductNoticeLine).endLine();
        ++LineCount;
        return;
    }
    while (LineCount < 56) blank();
    out_.column(publisherFlag_ == 'b' ? 10 : 9).text(publisherFor(publisherFlag_).reportLine).endLine();
    ++LineCount;
    if (LineCount < kPageLength) {
        out_.column(10).text(kProductNoticeLine).endLine();
        ++LineCount;
    }
}

void ReportWriter::WriteOnePageSummary() {
    out_.formFeedLine();
    LineCount = 0;
    PrintReportHeading(2);
    confidentialityParagraph();
    blank();
    PrintProfileChart(1, 6);
    PrintAdditionalInformation();
    signatureBlock(2, false);
    if (LineCount < kPageLength) PrintPublisherNotice(1);
}

}  // namespace kcs::report
