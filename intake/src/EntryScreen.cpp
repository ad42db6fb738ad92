#include "kcs/intake/EntryScreen.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "kcs/ui/ScreenConventions.h"

namespace kcs::intake {

using namespace kcs::ui;

namespace {

// A message box or an opened drop-down list takes the keyboard for a moment; the field
// has not been left.
bool leftTheField(const QFocusEvent& e) {
    return e.reason() != Qt::ActiveWindowFocusReason && e.reason() != Qt::PopupFocusReason;
}

}  // namespace

EntryScreen::EntryScreen(const QString& objectName, const QString& caption, ui::Services& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setUpModalScreen(*this, objectName, caption);

    top_ = new QVBoxLayout(this);
    const int m = twipsToPixels(360, this);
    top_->setContentsMargins(m, m, m, 0);
    top_->setSpacing(twipsToPixels(240, this));

    frame_ = new QWidget(this);
    frame_->setObjectName(QStringLiteral("fraInfo"));
    setPanelColors(*frame_, kBlue, kWhite);
    grid_ = new QGridLayout(frame_);
    grid_->setHorizontalSpacing(twipsToPixels(180, this));
    grid_->setVerticalSpacing(twipsToPixels(90, this));

    msgPanel_ = new MsgPanel(this);
    row_ = new MenuButtonRow(*this, msgPanel_, services_.dialogs);
}

void EntryScreen::addField(const QString& caption, QWidget* field) {
    const int i = static_cast<int>(fields_.size());
    QLabel* label = labels_.add(frame_, caption, field);
    // An editable list's text box is read out under the list's name.
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(field->accessibleName());
    setPanelColors(*label, kBlue, kWhite);
    grid_->addWidget(label, i, 0);
    grid_->addWidget(field, i, 1, Qt::AlignLeft);
    field->installEventFilter(this);
    if (i > 0) setTabOrder(fields_.back(), field);
    fields_.push_back(field);
}

void EntryScreen::finishLayout(const QString& okHelp, const QString& cancelHelp) {
    top_->addWidget(frame_, 0, Qt::AlignHCenter);
    auto* buttonFrame = new QWidget(this);
    buttonFrame->setObjectName(QStringLiteral("frButtons"));
    row_->addButton(buttonFrame, QStringLiteral("Information OK"), okHelp);
    row_->addButton(buttonFrame, QStringLiteral("Cancel Input"), cancelHelp);
    row_->layoutRow(buttonFrame, twipsToPixels(2200, this), twipsToPixels(500, this), twipsToPixels(240, this));
    row_->onChosen([this](int i) {
        if (i == 0) informationOk();
        else cancelInput();
    });
    top_->addWidget(buttonFrame, 0, Qt::AlignHCenter);
    top_->addStretch(1);
    top_->addWidget(msgPanel_);
    if (!fields_.empty()) setTabOrder(fields_.back(), row_->button(0));
    setTabOrder(row_->button(0), row_->button(1));
    resize(std::max(sizeHint().width(), twipsToPixels(9600, this)), std::max(sizeHint().height(), twipsToPixels(7200, this)));
}

int EntryScreen::indexOf(QObject* o) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i] == o) return static_cast<int>(i);
    return -1;
}

bool EntryScreen::eventFilter(QObject* watched, QEvent* event) {
    const int i = indexOf(watched);
    if (i < 0) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        msgPanel_->setText(helpLine(i));
        labels_.HighlightInfoLabel(i);
        SelectAllText(field(i));
        break;
    case QEvent::FocusOut:
        if (leftTheField(*static_cast<QFocusEvent*>(event))) {
            labels_.ResetInfoLabels();
            leaveField(i);
        }
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
            if (enterField(i)) focusNextPrevChild(true);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void EntryScreen::refuse(int i, const app::Message& message) {
    services_.beeper.beep();
    services_.dialogs.show(message);
    focusField(i);
}

void EntryScreen::focusField(int i) {
    field(i)->setFocus(Qt::OtherFocusReason);
    SelectAllText(field(i));
}

void EntryScreen::focusOk() { row_->button(0)->setFocus(Qt::OtherFocusReason); }

void EntryScreen::finish(bool completed) {
    completed_ = completed;
    if (completed) accept();
    else QDialog::reject();
}

void EntryScreen::reject() { cancelInput(); }

}  // namespace kcs::intake
