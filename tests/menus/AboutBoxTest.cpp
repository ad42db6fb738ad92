#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "kcs/menus/AboutBox.h"

using namespace kcs::menus;

namespace {

QString label(frmAbout& box, const char* name) { return box.findChild<QLabel*>(name)->text(); }

}  // namespace

TEST(AboutBox, SplashFadesInTenTicksThenStaysSevenTicksAfterBeingAskedToClose) {
    frmAbout box('b', QPixmap());
    box.Splash = true;
    QSignalSpy done(&box, &frmAbout::fadeDone);
    QSignalSpy closed(&box, &frmAbout::closed);
    box.show();
    box.animationTimer().stop();  // the test drives every tick itself
    box.holdTimer().stop();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Initializing..."));
    EXPECT_FALSE(box.findChild<QFrame*>("sspOK")->isVisible());
    for (int tick = 1; tick <= 9; ++tick) {
        box.animationTick();
        EXPECT_FALSE(box.FadeDone());
    }
    box.animationTick();
    EXPECT_TRUE(box.FadeDone());
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(box.findChild<QFrame*>(QStringLiteral("picBand_%1").arg(i))->isVisible());
    box.animationTick();  // a late tick changes nothing
    EXPECT_EQ(done.count(), 1);

    box.requestClose();
    box.holdTimer().stop();
    EXPECT_FALSE(box.FadeDone());
    box.close();  // the window's own close does not cut the hold short
    for (int tick = 1; tick <= 6; ++tick) {
        box.holdTick();
        EXPECT_TRUE(box.isVisible()) << tick;
    }
    EXPECT_EQ(closed.count(), 0);
    box.holdTick();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(closed.count(), 1);
}

TEST(AboutBox, AboutModeShowsPublisherTextsAndClosesAtOnce) {
    frmAbout first('b', QPixmap());
    first.show();
    EXPECT_EQ(first.windowTitle(), QStringLiteral("About Kestrel Conduct Screening"));
    EXPECT_EQ(label(first, "lblVersion"), QStringLiteral("Kestrel Conduct Screening v4.01"));
    EXPECT_EQ(label(first, "lblPublisher"), QStringLiteral("Bluewing Assessment Press"));
    EXPECT_EQ(label(first, "lblWeb"), QStringLiteral("Web: www.bluewing.example.org"));
    QSignalSpy closed(&first, &frmAbout::closed);
    QPushButton* ok = first.findChild<QPushButton*>("cmdOK");
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(closed.count(), 1);

    frmAbout second('x', QPixmap());
    EXPECT_EQ(label(second, "lblPublisher"), QStringLiteral("Copperfield Behavioral Measures"));
    EXPECT_EQ(label(second, "lblEmail"), QStringLiteral("E-mail: office@copperfield.example.org"));
}
