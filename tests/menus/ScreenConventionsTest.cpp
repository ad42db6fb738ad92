#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "kcs/menus/MenuButtonRow.h"
#include "kcs/menus/ScreenConventions.h"

using namespace kcs::menus;

namespace {

// A dialog with a text field and a row of four menu buttons.
struct RowScreen {
    QDialog window;
    QLineEdit* field = new QLineEdit(QStringLiteral("some text"), &window);
    MsgPanel* panel = new MsgPanel(&window);
    QWidget* frame = new QWidget(&window);
    MenuButtonRow* row = new MenuButtonRow(window, panel);

    RowScreen() {
        window.resize(800, 600);
        field->setGeometry(10, 10, 200, 24);
        panel->setGeometry(0, 560, 800, 40);
        for (int i = 0; i < 4; ++i) row->addButton(frame, QStringLiteral("Choice %1").arg(i), QStringLiteral("Help %1").arg(i));
        row->layoutColumn(frame, 200, 40, 8);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    int litPanels() const {
        int lit = 0;
        for (int i = 0; i <= row->highest(); ++i) lit += panelColor(*row->panel(i)) == kCyan;
        return lit;
    }
};

}  // namespace

TEST(MenuButtonRow, TabbingLightsExactlyOnePanelAndLeavingClearsAll) {
    RowScreen s;
    s.field->setFocus();
    EXPECT_EQ(s.litPanels(), 0);
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), s.window.findChild<QPushButton*>(QStringLiteral("cmdMenuChoice_%1").arg(i)));
        EXPECT_EQ(s.row->panel(i), s.window.findChild<QFrame*>(QStringLiteral("sspMenuChoice_%1").arg(i)));
        EXPECT_EQ(s.litPanels(), 1);
        EXPECT_EQ(panelColor(*s.row->panel(i)), kCyan);
        EXPECT_TRUE(s.row->button(i)->font().bold());
        EXPECT_EQ(s.panel->text(), QStringLiteral("Help %1").arg(i));
    }
    EXPECT_EQ(s.window.findChild<QLabel*>("MsgPanel"), s.panel);
    s.field->setFocus();
    EXPECT_EQ(s.litPanels(), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(panelColor(*s.row->panel(i)), kBlue);
        EXPECT_FALSE(s.row->button(i)->font().bold());
    }
}

TEST(MenuButtonRow, EnterAndSpaceClickArrowsSkipDisabledButtonsOtherKeysAreDiscarded) {
    RowScreen s;
    QSignalSpy chosen(s.row, &MenuButtonRow::chosen);
    QPushButton* b = s.row->button(2);
    b->setFocus();
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Escape, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_F1, Qt::Key_1})
        QTest::keyClick(b, key);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_TRUE(s.window.isVisible());  // Escape did not reach the dialog
    EXPECT_EQ(QApplication::focusWidget(), b);
    QTest::keyClick(b, Qt::Key_Return);
    QTest::keyClick(b, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(b, Qt::Key_Space);
    ASSERT_EQ(chosen.count(), 3);
    for (const auto& args : chosen) EXPECT_EQ(args.at(0).toInt(), 2);

    s.row->button(1)->setEnabled(false);
    QTest::keyClick(b, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), s.row->button(0));
    QTest::keyClick(s.row->button(0), Qt::Key_Up);  // nothing above the first
    EXPECT_EQ(QApplication::focusWidget(), s.row->button(0));
    QTest::keyClick(s.row->button(0), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), b);
}

TEST(ScreenConventions, MainFrameSitsFiveHundredTwipsAboveCentre) {
    QWidget window;
    window.resize(900, 700);
    QWidget frame(&window);
    frame.resize(300, 200);
    PlaceMainFrame(window, frame);
    EXPECT_EQ(frame.x(), 300);
    const int twips1000 = qRound(1000 * window.logicalDpiY() / 1440.0);
    EXPECT_EQ(twipsToPixels(1000, &window), twips1000);
    EXPECT_EQ(frame.y(), 350 - (200 + twips1000) / 2);
}

TEST(ScreenConventions, InfoLabelsAndSelectAll) {
    QWidget window;
    QLabel* labels[3];
    for (int i = 0; i < 3; ++i) {
        labels[i] = new QLabel(QStringLiteral("label"), &window);
        labels[i]->setObjectName(indexedName(QStringLiteral("lblInfo"), i));
    }
    for (int lit : {1, 2}) {
        HighlightInfoLabel(window, 2, lit);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(labels[i]->font().bold(), i == lit) << lit;
    }
    ResetInfoLabels(window, 2);
    EXPECT_FALSE(labels[2]->font().bold());

    QLineEdit edit(QStringLiteral("12345"));
    SelectAllText(&edit);
    EXPECT_EQ(edit.selectedText(), QStringLiteral("12345"));
    SelectAllText(labels[0]);  // no text selection: left alone
}

TEST(ScreenConventions, CenterFormLeavesMaximisedWindowsAlone) {
    QWidget window;
    window.resize(400, 300);
    window.move(0, 0);
    CenterForm(window);
    const QRect screen = window.screen()->geometry();
    EXPECT_NEAR(window.frameGeometry().center().x(), screen.center().x(), 2);
    EXPECT_NEAR(window.frameGeometry().center().y(), screen.center().y(), 2);

    QWidget maximised;
    maximised.move(5, 7);
    maximised.setWindowState(Qt::WindowMaximized);
    CenterForm(maximised);
    EXPECT_EQ(maximised.pos(), QPoint(5, 7));
}
