// Client intake. The rules of client information and court history: what each field takes,
// what confirmation leaves in the record, how a stored client's changes are counted and locked.
// Then both screens driven with key events, headless: the edit limit and a failed save, what a
// refused entry does (both screens share it), cancelling a new client.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "../menus/ScreenTestSupport.h"
#include "kcs/intake/ClientInfo.h"
#include "kcs/intake/ClientInfoForm.h"
#include "kcs/intake/CourtHistory.h"
#include "kcs/intake/CourtHistoryForm.h"
#include "kcs/test/KeyboardDriver.h"
#include "kcs/test/ScoringFixture.h"

using namespace kcs;
using namespace kcs::intake;
using namespace kcs::testutil;
using records::Field;

namespace {

constexpr app::Date kToday{2026, 12, 6};
using F = InfoField;

// A stored client: Test Client, 34, male, born 04/12/1991, tested.
records::ClientRecord stored(const std::string& editCount, const std::string& nameDeleted = "0",
                             const std::string& dateOfBirth = "04/12/1991") {
    return test::ClientBuilder{}.set(Field::EditCount, editCount).set(Field::NameDeleted, nameDeleted)
        .set(Field::DateOfBirth, dateOfBirth).build();
}

// A new client's form holding valid values in every field.
ClientInfoForm filled() {
    ClientInfoForm form(false, {});
    const char* texts[] = {"Jos\xC3\xA9 Pe\xC3\xB1" "a", "11", "Male", "Asian", "Widowed", "N", "12/31/1890"};
    for (F f : kInfoFields) form.setText(f, texts[static_cast<std::size_t>(f)]);
    return form;
}

// Types into the focused field and presses Enter.
void enter(const char* text) {
    QTest::keyClicks(focused(), QString::fromUtf8(text));
    key(Qt::Key_Return);
}
QString shown(QWidget* w) { return static_cast<QLineEdit*>(w)->displayText(); }

// Client 2 is stored with every detail filled in and changed twice already.
struct Intake : ProgramFixture {
    Intake() {
        useRecords({test::recordsNamed({"Ann Lee"})[0], stored("2")});
    }
};

}  // namespace

TEST(ClientInfoForm, EachFieldAcceptsWhatItsCheckAllowsAndTidiesOrEmptiesTheText) {
    // The field, the text typed, whether Enter accepts it, the text afterwards.
    const std::tuple<InfoField, const char*, bool, const char*> cases[] = {
        {F::Name, "", false, ""}, {F::Name, "   ", false, "   "}, {F::Name, "n", true, "N"},
        {F::Name, "Zo\xC3\xAB \xE2\x80\x9CZ\xE2\x80\x9D", true, "Zo\xC3\xAB \xE2\x80\x9CZ\xE2\x80\x9D"},
        {F::Name, "Tab\there", false, "Tab\there"},              // a control character
        {F::Name, "Ann \xE2\x9C\x93", false, "Ann \xE2\x9C\x93"},  // not in the code page
        {F::Age, "10", false, ""}, {F::Age, "11", true, "11"}, {F::Age, "99", true, "99"}, {F::Age, "n", true, "N"},
        {F::Age, "1x", false, ""}, {F::Education, "ab", false, ""},  // not a number, never stored as one
        {F::Education, "0", true, "0"}, {F::Education, "99", true, "99"}, {F::Education, " N", true, "N"},
        {F::Sex, "2", true, "Female"}, {F::Sex, "", false, ""}, {F::Race, "5", true, "Native American"},
        {F::Race, "N/", true, "N/A"}, {F::Race, "N", false, "N"},  // no entry: never stored as a position
        {F::Marital, "di", true, "Divorced"}, {F::DateOfBirth, "02/30/1970", false, "__/__/____"},
        {F::DateOfBirth, "12/31/1890", true, "12/31/1890"},
        {F::DateOfBirth, "n_/__/____", true, "N_/__/____"}, {F::DateOfBirth, "07/04/19__", false, "__/__/____"},
        {F::DateOfBirth, "__/__/____", false, "__/__/____"},
    };
    for (const auto& [field, typed, accepted, shown] : cases) {
        ClientInfoForm form(false, {});
        form.setText(field, typed);
        const auto refused = form.enter(field);
        EXPECT_EQ(!refused, accepted) << typed;
        EXPECT_EQ(form.text(field), shown) << typed;
        EXPECT_TRUE(!refused || (refused->field == field && refused->message.icon == app::MsgIcon::Critical));
    }
    // The list and date fields let only their keys through.
    const std::tuple<InfoField, char, bool> keys[] = {{F::Sex, '2', true}, {F::Sex, '3', false}, {F::Sex, 'x', false},
        {F::Race, '6', true}, {F::Marital, 'n', true}, {F::Marital, '6', false}};
    for (const auto& [field, key, allowed] : keys) EXPECT_EQ(ClientInfoForm::listKeyAllowed(field, key), allowed) << key;
    for (char c : {'0', '9', '/', 'N', 'n', '\b'}) EXPECT_TRUE(ClientInfoForm::dateKeyAllowed(c)) << c;
    for (char c : {'a', '-', ' ', '.'}) EXPECT_FALSE(ClientInfoForm::dateKeyAllowed(c)) << c;
}

TEST(ClientInfoForm, ConfirmingANewClientPreparesItsRecordAndSavesNothing) {
    ClientInfoForm form = filled();
    const auto c = form.confirm(kToday);
    ASSERT_FALSE(c.refused);
    EXPECT_FALSE(c.save);
    // Name, age, sex, race, marital status, education, birth and test dates, in record order.
    EXPECT_EQ(std::string(c.record.bytes().data(), 53),
              "Jos\xE9 Pe\xF1" "a                " "11 " "145" "N " "12/31/1890" "12/06/2026");
    form.setText(F::DateOfBirth, "N_/__/____");
    EXPECT_EQ(form.confirm(kToday).record.raw(Field::DateOfBirth), "N         ");
}

TEST(ClientInfoForm, ConfirmationRunsEveryFieldsOwnCheckAndStopsAtTheFirstRefusal) {
    // Values that reached the fields without Enter (the mouse, Shift+Tab) are checked
    // again, in screen order; the date must also be a believable birth date.
    const std::string date =
        "Enter date of birth month, day, year as MM/DD/YYYY or N for Not Available. Press Enter to continue.";
    const std::tuple<InfoField, const char*, std::string> cases[] = {
        {F::Age, "5", "Enter age of client in number of years. Press Enter to continue."},
        {F::Race, "N", "Press down arrow to select ethnicity. Press Enter to continue."},
        {F::Education, "ab", "Enter education level of client in number of years. Press Enter to continue."},
        {F::DateOfBirth, "01/01/2001", date}, {F::DateOfBirth, "__/__/____", date},
    };
    for (const auto& [field, value, message] : cases) {
        ClientInfoForm form = filled();
        form.setText(field, value);
        const auto confirmed = form.confirm(kToday);
        ASSERT_TRUE(confirmed.refused) << value;
        EXPECT_EQ(confirmed.refused->field, field);
        EXPECT_EQ(confirmed.refused->message.title + ": " + confirmed.refused->message.text,
                  "Kestrel Conduct Screening: " + message);
    }
}

TEST(ClientInfoForm, AStoredClientsChangesAreCountedToTheLimitAndTheLockHoldsNextTime) {
    // The screen test shows the lock and its box; here the count, the texts and what is saved.
    ClientInfoForm form(true, stored("1"));
    EXPECT_FALSE(form.activationMessage());
    form.setText(F::Age, "35");
    EXPECT_FALSE(form.leave(F::Age));
    form.setText(F::Sex, "Female");
    EXPECT_TRUE(form.leave(F::Sex));  // the third change: box, lock, focus on OK
    const auto c = form.confirm(kToday);
    ASSERT_TRUE(c.save);
    records::ClientRecord expected = stored("3");
    expected.set(Field::Age, "35");
    expected.set(Field::Sex, "2");
    EXPECT_EQ(c.record, expected) << "the answers and the test date as stored";

    ClientInfoForm again(true, c.record);
    EXPECT_EQ(again.startHelpLine(), "Exceeded limits of editing. Press Enter to continue.");
    ASSERT_TRUE(again.activationMessage());
    EXPECT_EQ(again.activationMessage()->text,
              "This client's information has been changed 3 times.\rNo further editing is permitted. Press Enter to "
              "Continue.");
    const auto unchanged = again.confirm(kToday);
    EXPECT_FALSE(unchanged.refused || unchanged.save);
    EXPECT_EQ(unchanged.record, c.record);
}

TEST(ClientInfoForm, ChangingAFieldAndBackCountsTwiceAndNoChangeWritesNothing) {
    ClientInfoForm form(true, stored("0"));
    for (const char* name : {"Test Clients", "Test Client"}) {
        form.setText(F::Name, name);
        form.leave(F::Name);
    }
    EXPECT_EQ(form.editCounter(), 2);
    EXPECT_FALSE(form.confirm(kToday).save) << "the record itself is as stored";
    // A stored "N" shows as "N_/__/____", which differs from it: the record is written
    // back unchanged.
    ClientInfoForm noDate(true, stored("0", "0", "N"));
    EXPECT_EQ(noDate.text(F::DateOfBirth), "N_/__/____");
    const auto c = noDate.confirm(kToday);
    EXPECT_TRUE(c.save);
    EXPECT_EQ(c.record, stored("0", "0", "N"));
}

TEST(ClientInfoForm, ADeletedNameLocksTheScreenAndConfirmingLeavesTheRecordAsItWas) {
    ClientInfoForm form(true, stored("0", "1"));
    EXPECT_FALSE(form.anyEnabled());
    EXPECT_EQ(form.activationMessage()->title, "Name Deleted");
    EXPECT_EQ(form.okHelpLine(), "Client name has been deleted. No further editing is permitted.");
    const auto c = form.confirm(kToday);
    EXPECT_FALSE(c.refused || c.save);
    EXPECT_EQ(c.record, stored("0", "1"));
}

TEST(ClientInfoForm, AWrongValueThatReachedTheLimitIsOpenedAgainToBePutRight) {
    ClientInfoForm form(true, stored("2"));
    form.setText(F::Age, "7");  // left with the mouse, never checked
    EXPECT_TRUE(form.leave(F::Age));
    const auto c = form.confirm(kToday);
    ASSERT_TRUE(c.refused);
    EXPECT_EQ(c.refused->field, F::Age);
    EXPECT_TRUE(form.enabled(F::Age));
    EXPECT_FALSE(form.enabled(F::Name));
    form.setText(F::Age, "70");
    EXPECT_TRUE(form.leave(F::Age));  // still at the limit: locked again
    EXPECT_EQ(form.confirm(kToday).record.raw(Field::Age), "70 ");
}

TEST(CourtHistoryForm, EachItemTakesItsOwnRangeOnEnter) {
    // The item, the text typed, whether Enter accepts it, the text afterwards.
    const std::tuple<int, const char*, bool, const char*> cases[] = {
        {1, "4", false, "4"}, {1, "5", true, "5"},     {1, "99", true, "99"},  {1, "n", true, "N"},
        {2, "0", true, "0"},  {3, "00", false, "00"},  {4, "99", true, "99"}, {5, " 7", true, "7"},
        {6, "", false, ""},   {7, "7x", false, "7X"},  {11, "12", true, "12"}, {11, "13", false, "13"},
    };
    for (const auto& [item, typed, accepted, shown] : cases) {
        CourtHistoryForm form(false, {});
        form.setText(item, typed);
        const auto refused = form.enter(item);
        EXPECT_EQ(!refused, accepted) << item << " " << typed;
        EXPECT_EQ(form.text(item), shown);
        EXPECT_TRUE(!refused || refused->title == "Data Entry Error");
    }
    EXPECT_EQ(CourtHistoryForm::refusalMessage(11).text,
              "Enter a number from 0 to 12 or N for Not Available. Press Enter to continue.");
}

TEST(CourtHistoryForm, ConfirmationHoldsEveryItemToItsOwnRangeThenFillsTheRecordInItemOrder) {
    CourtHistoryForm form(false, {});
    const char* values[kCourtItems] = {"17", "1", "2", "3", "4", "5", "6", "7", "8", "9", "20"};
    for (int i = 1; i <= kCourtItems; ++i) form.setText(i, values[i - 1]);
    ASSERT_TRUE(form.confirm());
    EXPECT_EQ(form.confirm()->item, 11) << "20 months in the last 12";
    form.setText(1, "3");
    EXPECT_EQ(form.confirm()->item, 1);
    form.setText(1, "N");
    form.setText(11, "12");
    ASSERT_FALSE(form.confirm());

    records::ClientRecord r;  // the record's bytes are checked through the screen
    form.SaveCourtData(r);
    CourtHistoryForm edited(true, r);
    EXPECT_EQ(edited.text(11) + edited.text(1), "12N");
}

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
        EXPECT_EQ(store.record(2).text(Field::Name), "Test Client");
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
