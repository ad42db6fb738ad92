// The supervisor options, print-selected and the report viewer, driven by keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "SupervisorTestSupport.h"
#include "kcs/menus/ReportScreens.h"
#include "kcs/menus/SupervisorOptions.h"
#include "kcs/report/PrintReport.h"
#include "kcs/test/KeyboardDriver.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;

TEST_F(SupervisorFixture, OptionsTabsSwitchByKeysWithTheirHelpAndTheReportsTabKeepsItsPrintOption) {
    store.select(2);
    frmSupervisorOptions window(store, flows, fake.services);
    openScreen(window);
    EXPECT_EQ(window.nameDisplay()->text(), "Bob Roe" + QString(18, QLatin1Char(' ')));
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
}

TEST_F(SupervisorFixture, OptionsOnAnEmptyDriveSayItAndClose) {
    useClients({});
    dialogs.answer(MsgAnswer::Ok);
    frmSupervisorOptions window(store, flows, fake.services);
    openScreen(window);
    EXPECT_EQ(dialogs.messages, (std::vector<test::ShownMessage>{{"There are no clients on this data disk.\r\nReturning to "
                                                                  "main menu.", "Empty Data Disk", MsgIcon::Information,
                                                                  MsgButtons::Ok}}));
    EXPECT_FALSE(window.isVisible());
}

// The order of several picks is the keyboard road of the end-to-end test.
TEST_F(SupervisorFixture, PrintSelectedStartsOnTheFirstClientAndPrintsThePick) {
    useClients({"Only One"});
    frmPrintSelected window(store, flows.reportOptions(false), false, fake.services);
    openScreen(window);
    key(Qt::Key_Space);
    key(Qt::Key_Tab);
    EXPECT_EQ(window.msgPanel()->text(), "Print selected client reports");
    key(Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(fake.printer.jobs.size(), 1u);
    EXPECT_EQ(fake.printer.jobs[0].name, report::ReportJobName(1));
    EXPECT_EQ(readFile(report::StagingFile(folder.path(), 1)),
              report::ComposeReport(store.table(), 1, flows.reportOptions(false)));
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
    // later, as a click is shown. The chooser offers the client's number as the file name; the supervisor picks a folder.
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
