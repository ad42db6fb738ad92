// The supervisor options, print-selected and the report viewer, driven by keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "SupervisorTestSupport.h"
#include "kcs/menus/ReportScreens.h"
#include "kcs/menus/SupervisorOptions.h"
#include "kcs/report/PrintReport.h"
#include "kcs/test/KeyboardDriver.h"
#include "kcs/ui/ScreenConventions.h"

using namespace kcs;
using namespace kcs::menus;
using namespace kcs::testutil;

TEST_F(SupervisorFixture, OptionsTabsSwitchByKeysAndTheReportsTabKeepsItsPrintOption) {
    store.select(2);
    frmSupervisorOptions window(store, flows, fake.services);
    openScreen(window);
    EXPECT_EQ(window.windowTitle(), "Supervisor Options");
    EXPECT_EQ(test::unnamedControls(window), std::vector<std::string>{});
    EXPECT_EQ(window.nameDisplay()->text(), "Bob Roe" + QString(18, QLatin1Char(' ')));
    EXPECT_EQ(ui::panelColor(*window.tabFrame()), ui::kCyan) << "the tab control has the keyboard";

    key(Qt::Key_Tab);
    EXPECT_EQ(focused()->objectName(), "optPrintOption_0");
    EXPECT_EQ(window.msgPanel()->text(), kPrintOptionHelp);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_TRUE(window.printOption(2)->isChecked());
    EXPECT_TRUE(window.printOption(2)->font().bold());

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

    // Tick the summary page, then Execute: print all with the summary, and the window closes.
    window.summaryPage()->setFocus();
    key(Qt::Key_Space);
    EXPECT_TRUE(window.summaryPage()->font().bold());
    key(Qt::Key_Tab);
    EXPECT_EQ(focused()->objectName(), "cmdMenuChoice_0");
    EXPECT_EQ(window.msgPanel()->text(), kExecuteHelp);
    EXPECT_EQ(ui::panelColor(*window.tabFrame()), ui::kBlue);
    key(Qt::Key_Return);
    EXPECT_EQ(screens.opened, std::vector<std::string>{"secret"});
    ASSERT_EQ(fake.printer.jobs.size(), 3u);
    EXPECT_NE(fake.printer.jobs[0].pages.back().find("ONE-PAGE SUMMARY"), std::string::npos);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SupervisorFixture, OptionsOnAnEmptyDriveSayItAndClose) {
    useClients({});
    dialogs.answer(MsgAnswer::Ok);
    frmSupervisorOptions window(store, flows, fake.services);
    openScreen(window);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"There are no clients on this data disk.\r\nReturning to main menu."});
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Information);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SupervisorFixture, PrintSelectedPrintsThePickedClientsInListOrder) {
    struct Case {
        std::vector<std::string> clients;
        std::vector<Qt::Key> keys;  // in the list
        std::vector<std::int16_t> printed;
    } cases[] = {
        // One client: the first entry starts current, so Space picks it.
        {{"Only One"}, {Qt::Key_Space}, {1}},
        {{"Ann", "Bob", "Cy"}, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Space, Qt::Key_Up, Qt::Key_Up, Qt::Key_Space}, {1, 3}},
    };
    for (const auto& c : cases) {
        useClients(c.clients);
        fake.printer.jobs.clear();
        frmPrintSelected window(store, flows.reportOptions(false), false, fake.services);
        openScreen(window);
        EXPECT_EQ(window.windowTitle(), "Print Selected Reports");
        EXPECT_EQ(focused()->objectName(), "lbNameDisplay");
        for (Qt::Key k : c.keys) key(k);
        key(Qt::Key_Tab);
        EXPECT_EQ(window.msgPanel()->text(), "Print selected client reports");
        key(Qt::Key_Return);
        EXPECT_FALSE(window.isVisible());
        ASSERT_EQ(fake.printer.jobs.size(), c.printed.size());
        for (std::size_t n = 1; n <= c.printed.size(); ++n) {
            EXPECT_EQ(fake.printer.jobs[n - 1].name, report::ReportJobName(c.printed[n - 1]));
            EXPECT_EQ(readFile(report::StagingFile(folder.path(), static_cast<int>(n))),
                      report::ComposeReport(store.table(), c.printed[n - 1], flows.reportOptions(false)));
        }
        EXPECT_EQ(store.CurClient(), c.printed.back());
    }
}

TEST_F(SupervisorFixture, TheViewerShowsPrintsAndSavesTheReportAndRemovesItsFilesOnClosing) {
    store.select(2);
    writeFile(folder.path() / report::kScreenFileName, "old");
    frmViewReport viewer(store, flows.reportOptions(true), false, fake.services);
    openScreen(viewer);
    EXPECT_EQ(test::unnamedControls(viewer), std::vector<std::string>{});
    EXPECT_EQ(focused()->objectName(), "Text1");
    EXPECT_TRUE(viewer.text()->toPlainText().contains("NAME OR ID#: Bob Roe"));
    EXPECT_TRUE(QFontInfo(viewer.text()->font()).fixedPitch());
    const auto pages = report::SplitReportPages(report::ReadReportText(folder.path()));

    viewer.printButton()->setFocus();
    key(Qt::Key_PageDown);
    EXPECT_EQ(focused()->objectName(), "Text1") << "a scrolling key goes to the report";
    // A button's "&" key clicks it a moment later, as a click is shown.
    key(Qt::Key_P, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fake.printer.jobs.empty(); }));
    EXPECT_EQ(fake.printer.jobs[0].pages, pages);
    EXPECT_EQ(fake.printer.jobs[0].name, "KCS report 2");

    // The chooser offers the client's number as the file name; the supervisor picks a folder.
    const auto pdf = folder.path() / "KCS report 2.pdf";
    dialogs.onModal("dlgSavePdf", [&](QDialog& d) {
        static_cast<QFileDialog&>(d).setDirectory(QString::fromStdString(folder.path().string()));
        d.accept();
    });
    key(Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(pdf); }));
    const std::string bytes = readFile(pdf);
    EXPECT_TRUE(bytes.starts_with("%PDF"));
    std::size_t pdfPages = 0;
    for (std::size_t at = 0; (at = bytes.find("/Type /Page\n", at)) != std::string::npos; ++at) ++pdfPages;
    EXPECT_EQ(pdfPages, pages.size());

    QTest::keyClick(viewer.closeButton(), Qt::Key_Space);
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_FALSE(std::filesystem::exists(folder.path() / report::kReportFileName));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / report::kScreenFileName));

    // Without its scoring data no report can be made: the error is shown and the viewer closes.
    std::filesystem::remove(folder.path() / "KCSB.TXT");
    frmViewReport broken(store, flows.reportOptions(false), false, fake.services);
    openScreen(broken);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.messages.back().text.starts_with("Error ")) << dialogs.messages.back().text;
    EXPECT_FALSE(broken.isVisible());
}
