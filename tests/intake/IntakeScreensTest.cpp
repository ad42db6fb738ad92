// The client information and court history screens driven with key events, headless: the edit
// limit and a failed save, what a refused entry does (both screens share it), cancelling a new client.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "../menus/ScreenTestSupport.h"
#include "kcs/intake/ClientInfo.h"
#include "kcs/intake/CourtHistory.h"
#include "kcs/test/KeyboardDriver.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs;
using namespace kcs::intake;
using namespace kcs::testutil;
using records::Field;

namespace {

// Types into the focused field and presses Enter.
void enter(const char* text) {
    QTest::keyClicks(focused(), QString::fromUtf8(text));
    key(Qt::Key_Return);
}
QString shown(QWidget* w) { return static_cast<QLineEdit*>(w)->displayText(); }

// Client 2 is stored with every detail filled in and changed twice already.
struct Intake : ProgramFixture {
    Intake() {
        useRecords({test::recordsNamed({"Ann Lee"})[0],
                    test::ClientBuilder{}.set(Field::Name, "Bob Roe").set(Field::EditCount, "2").build()});
    }
};

}  // namespace

// Whether a stored client is locked, and when, is the form's rule; the screen shows the box,
// disables the fields and moves the focus to "Information OK".
TEST_F(Intake, AStoredClientsLastChangeLocksTheScreenAndIsSavedAtOnceEvenAfterAFailedSave) {
    store.select(2);
    records::ClientRecord record = store.record(2);
    frmClientInfo screen(true, 2, record, store, fake.services);
    const std::string before = readFile(store.ClientFilePath());
    const fs::path drive = store.ClientFilePath().parent_path();
    dialogs.answer(MsgAnswer::Ok);      // the edit limit reached
    dialogs.answer(MsgAnswer::Cancel);  // the failed save: back to the screen
    dialogs.onModal("frmClientInfo", [&](QDialog& d) {
        EXPECT_EQ(test::unnamedControls(d), std::vector<std::string>{});
        EXPECT_EQ(focused(), screen.buttons().button(0));
        screen.fieldOf(InfoField::Name)->setFocus();
        enter("Bob Rowe");
        QApplication::processEvents();  // the box waits for the focus to settle
        EXPECT_EQ(focused(), screen.buttons().button(0));
        EXPECT_FALSE(screen.fieldOf(InfoField::Name)->isEnabled());
        EXPECT_EQ(screen.msgPanel()->text(), QStringLiteral("Exceeded limits of editing. No further editing is permitted."));
        fs::remove_all(drive);  // the data drive is pulled
        key(Qt::Key_Return);
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(shown(screen.fieldOf(InfoField::Name)), QStringLiteral("Bob Rowe"));
        EXPECT_EQ(store.record(2).text(Field::Name), "Bob Roe");
        fs::create_directories(drive);
        writeFile(store.ClientFilePath(), before);
        key(Qt::Key_Return);
    });
    dialogs.execModal(screen);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].title, "Edit Limit Reached");
    EXPECT_TRUE(dialogs.messages[1].text.starts_with("Error ")) << dialogs.messages[1].text;
    EXPECT_EQ(dialogs.messages[1].buttons, MsgButtons::OkCancel);
    EXPECT_TRUE(screen.completed());
    EXPECT_EQ(record.text(Field::Name), "Bob Rowe");
    EXPECT_EQ(record.raw(Field::EditCount), "3");
    EXPECT_EQ(store.record(2), record);
    EXPECT_EQ(readFile(store.ClientFilePath()).substr(235, 235), std::string(record.bytes().data(), 235));
    frmClientInfo locked(true, 2, record, store, fake.services);  // opened at the limit: the box says so
    dialogs.execModal(locked);
    EXPECT_EQ(dialogs.messages.back().title, "Edit Limit Reached");
}

TEST_F(Intake, CourtHistoryRefusesAnItemOutOfItsRangeAndEscapeDropsANewClient) {
    records::ClientRecord record;
    record.set(Field::Name, "Ann Smith");
    frmCourtHistory screen(false, record, fake.services);
    dialogs.onModal("frmCourtHistory", [&](QDialog& d) {
        EXPECT_EQ(test::unnamedControls(d), std::vector<std::string>{});
        enter("4");
        EXPECT_EQ(focused(), screen.field(0));
        screen.field(10)->setFocus();
        EXPECT_EQ(screen.msgPanel()->text(),
                  QStringLiteral("Type a value 0 to 12 or N for Not Available, then press Enter."));
        key(Qt::Key_Escape);
    });
    dialogs.execModal(screen);
    EXPECT_FALSE(screen.completed());
    EXPECT_EQ(fake.beeper.beeps, 1);
    EXPECT_TRUE(record.isBlank());
}
