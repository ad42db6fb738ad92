// Checks the shipped settings file and the practice data disk the program opens by
// default: every practice client is read, scored and reported by the program's own code.

#include <gtest/gtest.h>

#include "ContentFiles.h"
#include "kcs/app/DataDrive.h"
#include "kcs/app/Settings.h"
#include "kcs/report/ScoreAndReport.h"

namespace {

using namespace kcs::content;
using kcs::records::Field;

TEST(ShippedSettings, PointAtThePracticeDiskAndUseCrlf) {
    EXPECT_TRUE(readLines(shippedDir() / "kcstest.ini").allCrlf);
    const kcs::app::Settings settings(shippedDir() / "kcstest.ini");
    EXPECT_EQ(settings.GetINIFilePath(), "practice-disk");
    EXPECT_EQ(settings.GetINISndPath(), ".");
    EXPECT_TRUE(settings.GetININumLock());
    EXPECT_FALSE(settings.GetINIPrintDOS());
    const auto tid = kcs::app::parseIdentityFile(kcs::test::readFile(shippedDir() / "practice-disk" / "TID"));
    EXPECT_TRUE(tid.isThisTest);
    EXPECT_EQ(tid.publisherFlag, 'b');
}

bool isDate(std::string_view s) {
    // "mm/dd/yyyy", blank-padded to the field's width.
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (s.size() != 10 || s[2] != '/' || s[5] != '/') return false;
    for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

TEST(PracticeDisk, ClientsAreWellFormedCoverTheCasesToPractiseOnAndGetAReport) {
    kcs::records::ClientTable table;
    const auto load = kcs::records::LoadClients(table, shippedDir() / "practice-disk" / "DATA401.KCS");
    EXPECT_EQ(load.trailingBytes, 0) << "a partial record";
    EXPECT_TRUE(table.NumClients >= 5 && table.NumClients <= 8) << table.NumClients;

    bool invalid = false, unscored = false, deleted = false, accented = false, courtNA = false;
    for (std::int16_t n = 1; n <= table.NumClients; ++n) {
        SCOPED_TRACE("client " + std::to_string(n));
        const auto& c = table.Clients[static_cast<std::size_t>(n)];
        const auto a = c.raw(Field::Answers);
        for (std::size_t i = 0; i < a.size(); ++i) ASSERT_TRUE(a[i] >= '0' && a[i] <= (i < 99 ? '2' : '4')) << "item " << i + 1;
        EXPECT_TRUE(c.raw(Field::DateOfBirth)[0] == 'N' || isDate(c.raw(Field::DateOfBirth))) << c.raw(Field::DateOfBirth);
        EXPECT_TRUE(isDate(c.raw(Field::TestDate)));
        for (auto f : kcs::records::kCourtFields) {
            const auto v = c.raw(f);
            EXPECT_TRUE(v == "N " || (std::isdigit(static_cast<unsigned char>(v[0])) && (v[1] == ' ' || std::isdigit(static_cast<unsigned char>(v[1])))))
                << "court value '" << v << "'";
            courtNA = courtNA || v == "N ";
        }
        EXPECT_TRUE(c.raw(Field::EditCount) >= "0" && c.raw(Field::EditCount) <= "3");
        EXPECT_TRUE(c.raw(Field::NameDeleted) == "0" || c.raw(Field::NameDeleted) == "1");
        deleted = deleted || c.raw(Field::NameDeleted) == "1";
        for (unsigned char ch : c.raw(Field::Name)) accented = accented || ch >= 0xC0;

        // Scoring refuses a damaged code digit; the report keeps within 80 columns.
        kcs::scoring::Scores s;
        const std::string report = kcs::report::ComposeReport(table, n, kcs::report::ReportOptions{binDir(), 'b', true}, &s);
        EXPECT_NE(report.find("KESTREL CONDUCT SCREENING"), std::string::npos);
        for (std::size_t start = 0, end; start < report.size(); start = end + 2) {
            end = std::min(report.find("\r\n", start), report.size());
            EXPECT_LE(end - start, 80u) << report.substr(start, end - start);
        }
        invalid = invalid || s.invalid();
        for (int scale = 1; scale <= 6; ++scale) unscored = unscored || !s.scored(scale);
    }
    EXPECT_TRUE(invalid) << "no client with an invalid test";
    EXPECT_TRUE(unscored) << "no client with too many omitted items";
    EXPECT_TRUE(deleted) << "no client with a deleted name";
    EXPECT_TRUE(accented) << "no name with single-byte accented letters";
    EXPECT_TRUE(courtNA) << "no court item given as N";
}

}  // namespace
