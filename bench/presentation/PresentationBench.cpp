// The on-screen test's speed as the client feels it: for every one of the 158 items, the
// time from Enter on an answer to the next item painted (median and 99th percentile over
// a whole test, the real screen on the shipped English table). (The time from a focus
// change to the first audio frame the sound server takes is not visible from inside the
// program: the player reports playing as soon as it is asked to.)
// Run: kcs_presentation_bench     (QT_QPA_PLATFORM=offscreen for no display)

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "kcs/administration/PresentQA.h"
#include "kcs/test/Clients.h"
#include "kcs/test/FakeServices.h"
#include "kcs/test/Support.h"

using namespace kcs;

namespace {

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * double(v.size() - 1) + 0.5))];
}

std::vector<administration::QAItem> englishItems() {
    questionbank::Database bank =
        questionbank::Workspace().OpenDatabase(std::filesystem::path(KCS_BIN_DIR) / questionbank::kBankFileName);
    questionbank::Recordset set = bank.OpenRecordset("Select * from [English]");
    return administration::readQAItems(set);
}

void answerToPaint() {
    test::TempDir dir;
    test::makeDrive(dir.path() / "disk", {"Ann Lee"});
    app::ClientStore store;
    records::ClientTable table;
    const auto file = dir.path() / "disk" / records::kClientFileName;
    store.useDrive("disk", file, 'b', table, records::LoadClients(table, file));
    test::FakeServices fake;
    records::ClientRecord record;
    administration::frmPresentQA screen("English", englishItems(), dir.path(), 2, record, store, fake.services);
    screen.show();
    QApplication::processEvents();
    std::vector<double> ms;
    while (screen.isVisible()) {
        QWidget* focused = QApplication::focusWidget();
        if (focused == screen.instructions()) {
            QTest::keyClick(focused, Qt::Key_Return);
            continue;
        }
        QTest::keyClick(focused, Qt::Key_Down);
        QElapsedTimer t;
        t.start();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        screen.repaint();  // the next item on screen
        QApplication::processEvents();
        if (screen.isVisible() && !screen.form().instructionsShown()) ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("Enter on an answer to the next item painted, %zu items: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                ms.size(), percentile(ms, 0.5), percentile(ms, 0.99), *std::max_element(ms.begin(), ms.end()));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    answerToPaint();
    return 0;
}
