#include "kcs/ui/InputBox.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "kcs/ui/Dialogs.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::ui {

std::optional<app::Message> InputBoxForm::confirm(const std::string& text) const {
    if (!text.empty()) return std::nullopt;
    return app::Message{PasswordInput ? "Please enter the required password." : "Please enter the required data.",
                        "Input required", app::MsgIcon::Question, app::MsgButtons::Ok};
}

frmMyInputBox::frmMyInputBox(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmMyInputBox"));
    setModal(true);
    setPanelColors(*this, kBlue, kWhite);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twipsToPixels(240, this), twipsToPixels(240, this),
                               twipsToPixels(240, this), twipsToPixels(240, this));
    lblHelpMsg_ = new QLabel(this);
    lblHelpMsg_->setObjectName(QStringLiteral("lblHelpMsg"));
    lblHelpMsg_->setWordWrap(true);
    lblHelpMsg_->setFixedWidth(twipsToPixels(5400, this));
    setPanelColors(*lblHelpMsg_, kBlue, kWhite);
    layout->addWidget(lblHelpMsg_);

    txtInput_ = new QLineEdit(this);
    txtInput_->setObjectName(QStringLiteral("txtInput"));
    txtInput_->installEventFilter(this);
    layout->addWidget(txtInput_);

    auto* rowFrame = new QWidget(this);
    rowFrame->setObjectName(QStringLiteral("frButtons"));
    row_ = new MenuButtonRow(*this, nullptr, dialogs_);
    row_->addButton(rowFrame, QStringLiteral("Information OK"), QString());
    row_->addButton(rowFrame, QStringLiteral("Cancel Input"), QString());
    row_->layoutRow(rowFrame, twipsToPixels(2200, this), twipsToPixels(500, this), twipsToPixels(120, this));
    layout->addWidget(rowFrame, 0, Qt::AlignHCenter);
    row_->onChosen([this](int i) {
        if (i == 0) informationOk();
        else cancelInput();
    });
    setTabOrder(txtInput_, row_->button(0));
    setTabOrder(row_->button(0), row_->button(1));
}

void frmMyInputBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activate();
}

void frmMyInputBox::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) row_->ResetMenuHighlight();
}

void frmMyInputBox::activate() {
    cancelled_ = false;
    txtInput_->setMaxLength(form.InputLength > 0 ? form.InputLength : 32767);
    lblHelpMsg_->setText(QString::fromStdString(form.HelpMessage));
    txtInput_->setAccessibleName(QString::fromStdString(form.HelpMessage));
    txtInput_->setEchoMode(form.PasswordInput ? QLineEdit::Password : QLineEdit::Normal);
    // Every typed character shows as an asterisk, as the secret code's help line says.
    if (form.PasswordInput) txtInput_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    row_->ResetMenuHighlight();
    adjustSize();
    CenterForm(*this);
    activateWindow();
    txtInput_->setFocus(Qt::OtherFocusReason);
}

bool frmMyInputBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtInput_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            row_->button(0)->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    if (watched == txtInput_ && event->type() == QEvent::FocusIn) SelectAllText(txtInput_);
    return QDialog::eventFilter(watched, event);
}

void frmMyInputBox::informationOk() {
    const auto refused = form.confirm(txtInput_->text().toStdString());
    if (!refused) {
        inputValue_ = txtInput_->text();
        accept();
        return;
    }
    dialogs_.show(*refused);
    txtInput_->setFocus(Qt::OtherFocusReason);
}

void frmMyInputBox::cancelInput() {
    cancelled_ = true;
    QDialog::reject();
}

void frmMyInputBox::reject() {
    cancelInput();
}

bool AskSecretCode(const std::function<std::optional<std::string>()>& prompt, app::MessageBoxes& boxes) {
    for (;;) {
        const auto typed = prompt();
        if (!typed) return false;
        std::string upper = *typed;
        for (char& c : upper)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (upper == std::string(1, kSecretCode)) return true;
        boxes.message("Incorrect Secret Code.  Please try again.", "Secret Code", app::MsgIcon::Critical,
                      app::MsgButtons::Ok);
    }
}

bool AskSecretCode(Dialogs& dialogs, QWidget* parent) {
    return AskSecretCode(
        [&]() -> std::optional<std::string> {
            // A fresh box for every try, so a rejected code never shows again.
            frmMyInputBox box(dialogs, parent);
            box.form.InputLength = 8;
            box.form.HelpMessage =
                "Enter the Secret Code to continue.  For security, asterisks (*) will show as you type.";
            box.form.PasswordInput = true;
            box.setWindowTitle(QStringLiteral("Secret Code"));
            dialogs.execModal(box);
            if (box.Cancelled()) return std::nullopt;
            return box.InputValue().toStdString();
        },
        dialogs);
}

}  // namespace kcs::ui
