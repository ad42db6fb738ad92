#include "kcs/menus/Dialogs.h"

#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace kcs::menus {

QString displayText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString runErrorText(int number, const QString& description) {
    return QStringLiteral("Error ") + QString::number(number) + QLatin1Char(':') + description;
}

void showRunError(Dialogs& dialogs, int number, const QString& description) {
    dialogs.message(runErrorText(number, description), QString(), MsgIcon::None, MsgButtons::Ok);
}

void showRunError(Dialogs& dialogs, const RunError& error) {
    showRunError(dialogs, error.number(), QString::fromStdString(error.description()));
}

MsgAnswer escapeAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::OkCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo: return MsgAnswer::No;
    }
    return MsgAnswer::Cancel;
}

MsgAnswer QtDialogs::message(const QString& text, const QString& title, MsgIcon icon,
                             MsgButtons buttons) {
    QMessageBox box(parent_);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(title);
    box.setText(displayText(text));
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
    const int chosen = box.exec();
    switch (chosen) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: return escapeAnswer(buttons);
    }
}

int QtDialogs::execModal(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace kcs::menus
