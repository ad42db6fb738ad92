#include "kcs/menus/InputBox.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "kcs/menus/Dialogs.h"
#include "kcs/menus/MenuButtonRow.h"
#include "kcs/menus/ScreenConventions.h"

namespace kcs::menus {

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
    row_ = new MenuButtonRow(*this, nullptr);
    row_->addButton(rowFrame, QStringLiteral("Information OK"), QString());
    row_->addButton(rowFrame, QStringLiteral("Cancel Input"), QString());
    const int w = twipsToPixels(2200, this);
    const int h = twipsToPixels(500, this);
    const int border = twipsToPixels(90, this);
    const int gap = twipsToPixels(120, this);
    for (int i = 0; i <= 1; ++i) {
        row_->panel(i)->setGeometry(i * (w + 2 * border + gap), 0, w + 2 * border, h + 2 * border);
        row_->button(i)->setGeometry(border, border, w, h);
    }
    rowFrame->setFixedSize(2 * (w + 2 * border) + gap, h + 2 * border);
    layout->addWidget(rowFrame, 0, Qt::AlignHCenter);
    connect(row_, &MenuButtonRow::chosen, this, [this](int i) {
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
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) row_->resetHighlight();
}

void frmMyInputBox::activate() {
    cancelled_ = false;
    txtInput_->setMaxLength(InputLength > 0 ? InputLength : 32767);
    lblHelpMsg_->setText(HelpMessage);
    txtInput_->setEchoMode(PasswordInput ? QLineEdit::Password : QLineEdit::Normal);
    row_->resetHighlight();
    adjustSize();
    CenterForm(*this);
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
    if (!txtInput_->text().isEmpty()) {
        inputValue_ = txtInput_->text();
        accept();
        return;
    }
    dialogs_.message(PasswordInput ? QStringLiteral("Please enter the required password.")
                                   : QStringLiteral("Please enter the required data."),
                     QStringLiteral("Input required"), MsgIcon::Question, MsgButtons::Ok);
    txtInput_->setFocus(Qt::OtherFocusReason);
}

void frmMyInputBox::cancelInput() {
    cancelled_ = true;
    QDialog::reject();
}

void frmMyInputBox::reject() {
    cancelInput();
}

bool AskSecretCode(Dialogs& dialogs, QWidget* parent) {
    for (;;) {
        // A fresh box for every try, so a rejected code never shows again.
        frmMyInputBox box(dialogs, parent);
        box.InputLength = 8;
        box.HelpMessage = QStringLiteral(
            "Enter the Secret Code to continue.  For security, asterisks (*) will show as you type.");
        box.setWindowTitle(QStringLiteral("Secret Code"));
        box.PasswordInput = true;
        dialogs.execModal(box);
        if (box.Cancelled()) return false;
        if (box.InputValue().toUpper() == QString(QLatin1Char(kSecretCode))) return true;
        dialogs.message(QStringLiteral("Incorrect Secret Code.  Please try again."),
                        QStringLiteral("Secret Code"), MsgIcon::Critical, MsgButtons::Ok);
    }
}

}  // namespace kcs::menus
