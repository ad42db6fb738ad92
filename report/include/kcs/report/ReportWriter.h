#pragma once
// The client report: an 80-column text of 58-line pages composed from one scoring.
// The writer owns the page state (LineCount, PageNumber) and every section routine;
// the whole report is composed in memory and handed over as bytes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kcs/report/PrintFile.h"
#include "kcs/scoring/Scorer.h"

namespace kcs::report {

inline constexpr int kPageLength = 58;

class ReportWriter {
public:
    ReportWriter(scoring::Scorer& scorer, char publisherFlag, bool summaryPage)
        : scorer_(scorer), publisherFlag_(publisherFlag), summaryPage_(summaryPage) {}

    // Composes the whole report; returns its bytes.
    std::string WriteClientReport();

    void PrintPageHeader();
    void PrintReportHeading(int kind);
    void PrintProfileChart(int first, int last);
    void PrintAdditionalInformation();
    void PrintScaleNarrative(int scale);
    void PrintScaleInvalidNote(int code);
    void PrintInvalidText();
    void ClassifySubstanceUse(int mode);
    void PrintSignatureBlock();
    void PrintResponses();
    void PrintSignificantItems();
    void PrintSection3Answers();
    // Starts a new page before the section 3 answers when fewer than 18 lines are left.
    void BreakBeforeSection3();
    void PrintPublisherNotice(int kind);
    void WriteOnePageSummary();

    int LineCount = 0;
    int PageNumber = 0;
    PrintFile& out() { return out_; }

private:
    void blank(int count = 1);
    // One line at the left margin.
    void line(std::string_view text);
    void confidentialityParagraph();
    // The observations heading, up to `ruledLines` ruled lines (fewer when `fitPage` and
    // the page is running out or the test is invalid), and the signature line.
    void signatureBlock(int ruledLines, bool fitPage);
    bool invalid() const { return scorer_.scores().invalid(); }

    scoring::Scorer& scorer_;
    char publisherFlag_;
    bool summaryPage_;
    PrintFile out_;
    // The court values as the additional information prints them. The first printing
    // marks them up in place ("N/A", a leading space), so the summary page prints them
    // marked up once more.
    std::optional<std::array<std::string, 12>> courtValues_;
};

}  // namespace kcs::report
