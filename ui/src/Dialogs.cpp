#include "kcs/ui/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "kcs/ui/ScreenConventions.h"

namespace kcs::ui {

QString displayText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

MsgAnswer QtDialogs::message(const std::string& text, const std::string& title, MsgIcon icon,
                             MsgButtons buttons) {
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(displayText(QString::fromStdString(text)));
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    // The box takes the keyboard as soon as it is on screen, and gives it back to the
    // window below when it closes.
    QTimer::singleShot(0, &box, [&box] { takeKeyboard(box); });
    QWidget* below = QApplication::activeWindow();
    const int chosen = box.exec();
    if (below && below->isVisible()) takeKeyboard(*below);
    switch (chosen) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: return app::escapeAnswer(buttons);
    }
}

int QtDialogs::execModal(QDialog& dialog) {
    // Right after one screen of a sequence closes, the window below may not be active
    // again yet: the screen's owner is the window the keyboard goes back to then.
    QWidget* below = QApplication::activeWindow();
    if (!below && dialog.parentWidget()) below = dialog.parentWidget()->window();
    QTimer::singleShot(0, &dialog, [&dialog] { takeKeyboard(dialog); });
    const int result = dialog.exec();
    if (below && below->isVisible()) takeKeyboard(*below);
    return result;
}

}  // namespace kcs::ui
