// The supervisor's operations: deleting names (also when the drive refuses a
// save), a wrong secret code, and the supervisor options and the report viewer driven by keys.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "SupervisorTestSupport.h"
#include "kcs/menus/DelNames.h"
#include "kcs/menus/MainMenuForm.h"
#include "kcs/menus/ReportScreens.h"
#include "kcs/menus/SupervisorForms.h"
#include "kcs/menus/SupervisorOptions.h"
#include "kcs/report/PrintReport.h"
#include "kcs/test/KeyboardDriver.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;
using records::Field;

struct DeleteNames : SupervisorFixture {
    std::string name(int i) const { return std::string(onDrive().Clients[static_cast<std::size_t>(i)].raw(Field::Name)); }
    std::string mark(int i) const { return std::string(onDrive().Clients[static_cast<std::size_t>(i)].raw(Field::NameDeleted)); }
    std::string clientFile() const { return readFile(store.ClientFilePath()); }
    // Deleting the names, with the boxes answered in this order.
    void run(std::initializer_list<MsgAnswer> answers) {
        dialogs.messages.clear();
        for (MsgAnswer a : answers) dialogs.answer(a);
        DeleteClientNames(store, dialogs);
    }
};

TEST_F(DeleteNames, ScramblesEachUnmarkedNameOnceAndSaysSoEveryTime) {
    auto records = tested({"a\xFA\xFF", "", "Gonzalez"});  // 250 + 7 and 255 + 3 wrap within 8 bits
    records[2].set(Field::NameDeleted, "1");  // deleted before: left alone
    useRecords(records);
    const std::string before = clientFile();
    run({MsgAnswer::No});
    EXPECT_EQ(clientFile(), before);
    EXPECT_EQ(dialogs.messages, (std::vector<test::ShownMessage>{{kDeleteNamesWarning, "WARNING!", MsgIcon::Critical,
                                                                  MsgButtons::YesNo}}));

    // What an interrupted save left beside the client file holds the names in the clear.
    const fs::path leftover = store.ClientFilePath().string() + ".new";
    writeFile(leftover, before);
    for (int again = 0; again < 2; ++again) {
        run({MsgAnswer::Yes, MsgAnswer::Ok});
        EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{kDeleteNamesWarning, kProcessComplete})) << again;
        // A name of spaces stays as it is.
        EXPECT_EQ(name(1) + name(2) + name(3), "d\x01\x02" + std::string(47, ' ') + "Gonzalez" + std::string(17, ' '));
        EXPECT_EQ(mark(1) + mark(2) + mark(3), "111");
        EXPECT_FALSE(fs::exists(leftover));
    }
    // The scrambled bytes show in the client list and reach the report unchanged.
    records[0].set(Field::Name, "Gonzalez");
    useRecords(records);
    run({MsgAnswer::Yes, MsgAnswer::Ok});
    const std::string scrambled = "Jru\x81" "dsh\x81";
    EXPECT_EQ(name(1), scrambled + std::string(17, ' '));
    EXPECT_EQ(MainMenuForm(store).listLines()[0], "1-Jru\xC2\x81" "dsh\xC2\x81" + std::string(17, ' '));
    const std::string report = report::ComposeReport(store.table(), 1, {folder.path(), 'b', false});
    EXPECT_NE(report.find("NAME OR ID#: " + scrambled + "\r\n"), std::string::npos);
}

TEST_F(DeleteNames, ASaveRefusedStopsThereSaysWhatWasDoneAndAnotherRunCarriesOn) {
    auto records = tested({"Ann", "Bob", "Cy"});
    records[0].set(Field::NameDeleted, "1");
    useRecords(records);
    const std::string before = clientFile();
    {
        kcs::test::RefusingDisk readOnly;  // every save fails
        run({MsgAnswer::Yes, MsgAnswer::Ok});
    }
    ASSERT_EQ(dialogs.messages.size(), 2u);
    const std::string told = dialogs.messages[1].text;
    EXPECT_TRUE(told.starts_with("Error ")) << told;
    EXPECT_TRUE(told.ends_with("\r\rNo client name was deleted.\rNames not deleted: clients 2 to 3. "
                               "Run Delete Names again once the data disk can be written."))
        << told;
    EXPECT_EQ(clientFile(), before);
    EXPECT_EQ(store.record(2), onDrive().Clients[2]) << "memory keeps the record as the file holds it";

    run({MsgAnswer::Yes, MsgAnswer::Ok});
    EXPECT_EQ(dialogs.messages.back().text, kProcessComplete);
    EXPECT_EQ(mark(1) + mark(2) + mark(3), "111");
    EXPECT_EQ(name(1), "Ann" + std::string(22, ' '));
    EXPECT_EQ(name(2).substr(0, 3), "Iri");
}

// What "Execute Selection" runs on each tab is the end-to-end and printing tests' road; what
// they cannot show is that a wrong secret code prints nothing.
TEST_F(SupervisorFixture, AWrongSecretCodePrintsNothing) {
    screens.secretAnswers = {false};
    flows.execute(kReportsTab, kPrintAll, false);
    EXPECT_EQ(screens.opened, std::vector<std::string>{"secret"});
    EXPECT_TRUE(fake.printer.jobs.empty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SupervisorFixture, OptionsTabsSwitchByKeysWithTheirHelpKeepThePrintOptionAndAnEmptyDriveIsRefused) {
    store.select(2);
    frmSupervisorOptions window(store, flows, fake.services);
    openScreen(window);
    key(Qt::Key_Tab);
    EXPECT_EQ(window.msgPanel()->text(), kPrintOptionHelp);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_TRUE(window.printOption(2)->isChecked());

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int tab;
        QString panel, name;
    } steps[] = {
        {Qt::Key_Tab, Qt::ControlModifier, 1, "Click Execute to perform data verification.", "Bob Roe"},
        {Qt::Key_D, Qt::AltModifier, 2, "Click Execute to perform delete names operation.", "All Clients"},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 1, "Click Execute to perform data verification.", "Bob Roe"},
        {Qt::Key_R, Qt::AltModifier, 0, "", "Bob Roe"},
    };
    for (const auto& s : steps) {
        key(s.key, s.mods);
        EXPECT_EQ(window.tabs()->currentIndex(), s.tab);
        EXPECT_EQ(window.msgPanel()->text(), s.panel);
        EXPECT_EQ(window.nameDisplay()->text().trimmed(), s.name);
    }
    EXPECT_TRUE(window.printOption(2)->isChecked()) << "back on the Reports tab the chosen option is selected again";
    window.summaryPage()->setFocus();
    key(Qt::Key_Tab);
    EXPECT_EQ(window.msgPanel()->text(), kExecuteHelp);

    // On a drive without clients the screen says so and closes.
    useClients({});
    frmSupervisorOptions empty(store, flows, fake.services);
    openScreen(empty);
    EXPECT_EQ(dialogs.messages, (std::vector<test::ShownMessage>{{"There are no clients on this data disk.\r\nReturning to "
                                                                  "main menu.", "Empty Data Disk", MsgIcon::Information,
                                                                  MsgButtons::Ok}}));
    EXPECT_FALSE(empty.isVisible());
}

TEST_F(SupervisorFixture, TheViewerSavesTheReportAsPdfAndRemovesItsFilesOnClosing) {
    store.select(2);
    writeFile(folder.path() / report::kScreenFileName, "old");
    frmViewReport viewer(store, flows.reportOptions(true), false, fake.services);
    openScreen(viewer);
    EXPECT_EQ(test::unnamedControls(viewer), std::vector<std::string>{});
    EXPECT_TRUE(QFontInfo(viewer.text()->font()).fixedPitch());
    const auto pages = report::SplitReportPages(report::ReadReportText(folder.path()));

    viewer.printButton()->setFocus();
    key(Qt::Key_PageDown);
    EXPECT_EQ(focused(), viewer.text()) << "a scrolling key goes to the report";

    // Printing by Alt+P is the end-to-end test's road. A button's "&" key clicks it a moment
    // later; the chooser offers the client's number as the file name, the supervisor a folder.
    const auto pdf = folder.path() / "KCS report 2.pdf";
    dialogs.onModal("dlgSavePdf", [&](QDialog& d) {
        static_cast<QFileDialog&>(d).setDirectory(QString::fromStdString(folder.path().string()));
        d.accept();
    });
    key(Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(pdf); }));
    const std::string bytes = readFile(pdf);
    EXPECT_TRUE(bytes.starts_with("%PDF"));
    std::size_t pdfPages = 0;
    for (std::size_t at = 0; (at = bytes.find("/Type /Page\n", at)) != std::string::npos; ++at) ++pdfPages;
    EXPECT_EQ(pdfPages, pages.size());

    QTest::keyClick(viewer.closeButton(), Qt::Key_Space);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(fs::exists(folder.path() / report::kReportFileName));
    EXPECT_FALSE(fs::exists(folder.path() / report::kScreenFileName));

    // Without its scoring data no report can be made: the error is shown and the viewer closes.
    fs::remove(folder.path() / "KCSB.TXT");
    frmViewReport broken(store, flows.reportOptions(false), false, fake.services);
    openScreen(broken);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.messages.back().text.starts_with("Error ")) << dialogs.messages.back().text;
    EXPECT_FALSE(broken.isVisible());
}
