#pragma once
// What the supervisor tests share: a program folder with the scoring data and clients with
// answers, and an opener that records which supervisor screen was opened.

#include <string>
#include <vector>

#include "kcs/test/ScoringFixture.h"
#include "kcs/test/Support.h"
#include "ScreenTestSupport.h"
#include "kcs/app/Options.h"
#include "kcs/menus/SupervisorFlows.h"

namespace kcs::testutil {

struct FakeSupervisorScreens : menus::SupervisorScreens {
    std::vector<bool> secretAnswers;  // in order; missing: right
    std::vector<std::string> opened;
    bool askSecretCode() override {
        opened.push_back("secret");
        const bool right = secretAnswers.empty() || secretAnswers.front();
        if (!secretAnswers.empty()) secretAnswers.erase(secretAnswers.begin());
        return right;
    }
    void viewReport(const report::ReportOptions&) override { opened.push_back("viewer"); }
    void printSelected(const report::ReportOptions&) override { opened.push_back("printSelected"); }
    void verifyData() override { opened.push_back("verify"); }
};

// A program folder with the scoring data, and a drive of clients who answered the test.
struct SupervisorFixture : ProgramFixture {
    app::Options options{settings};
    FakeSupervisorScreens screens;
    menus::SupervisorFlows flows{store, screens, dialogs, fake.printer, paths, options};

    SupervisorFixture() {
        folder.writeSettings("disk", "PrintDOS=False\r\n");
        options.read();
        test::FixtureData{}.write(folder.path());
        useClients({"Ann Lee", "Bob Roe", "Cy Young"});
    }
    // Records of clients of these names (Windows-1252 bytes) who answered the test.
    static std::vector<records::ClientRecord> tested(const std::vector<std::string>& names) {
        std::vector<records::ClientRecord> records;
        for (const auto& n : names) records.push_back(test::ClientBuilder{}.set(records::Field::Name, n).build());
        return records;
    }
    void useClients(const std::vector<std::string>& names) { useRecords(tested(names)); }
};

}  // namespace kcs::testutil
