// The About box of each publisher. (Opening and closing it by keys is the end-to-end test's
// road; the splash is run through by the start-up tests.)
#include <gtest/gtest.h>

#include <QLabel>

#include "kcs/menus/AboutBox.h"

using namespace kcs::menus;

TEST(AboutBox, ShowsThePublishersTexts) {
    const struct {
        char flag;
        const char* label;
        QString text;
    } cases[] = {
        {'b', "lblVersion", "Kestrel Conduct Screening v4.01"},
        {'b', "lblPublisher", "Bluewing Assessment Press"},
        {'b', "lblWeb", "Web: www.bluewing.example.org"},
        {'x', "lblPublisher", "Copperfield Behavioral Measures"},
        {'x', "lblEmail", "E-mail: office@copperfield.example.org"},
    };
    for (const auto& c : cases) EXPECT_EQ(frmAbout(c.flag, QPixmap()).findChild<QLabel*>(c.label)->text(), c.text);
}
