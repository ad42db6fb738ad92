#include "kcs/administration/Verify.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "kcs/common/RunError.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::administration {

using namespace kcs::ui;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QGroupBox* questionFrame(const QString& name, const QString& caption, QWidget* parent, QLineEdit*& box,
                         QLabel*& label) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    setPanelColors(*frame, kBlue, kWhite);
    auto* layout = new QHBoxLayout(frame);
    box = new QLineEdit(frame);
    box->setMaxLength(1);
    box->setFixedWidth(twipsToPixels(600, parent));
    box->setAlignment(Qt::AlignCenter);
    label = new QLabel(frame);
    layout->addWidget(box);
    layout->addWidget(label, 1);
    return frame;
}

}  // namespace

frmVerify::frmVerify(app::ClientStore& store, std::int16_t slot, ui::Services& services, QWidget* parent)
    : QDialog(parent),
      store_(store),
      slot_(slot),
      services_(services),
      form_(store.record(slot).raw(records::Field::Answers)) {
    setUpModalScreen(*this, QStringLiteral("frmVerify"), QStringLiteral("Test Data Input Verification"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frAll = new QGroupBox(QStringLiteral("Data Verification"), this);
    frAll->setObjectName(QStringLiteral("frAll"));
    setPanelColors(*frAll, kBlue, kWhite);
    auto* layout = new QVBoxLayout(frAll);
    const int m = twipsToPixels(240, this);
    outer->setContentsMargins(m, m, m, 0);
    outer->addWidget(frAll, 1);

    layout->addWidget(questionFrame(QStringLiteral("fraCurrentQuestion"), QStringLiteral("Current Question"), frAll,
                                    txtCurQuestion_, lblCurQuestion_));
    txtCurQuestion_->setObjectName(QStringLiteral("txtCurQuestion"));
    lblCurQuestion_->setObjectName(QStringLiteral("lblCurQuestion"));
    txtCurQuestion_->installEventFilter(this);

    fraPrevious_ = questionFrame(QStringLiteral("fraPreviousQuestion"), QStringLiteral("Previous Question"), frAll,
                                 txtPrevQuestion_, lblPrevQuestion_);
    txtPrevQuestion_->setObjectName(QStringLiteral("txtPrevQuestion"));
    lblPrevQuestion_->setObjectName(QStringLiteral("lblPrevQuestion"));
    txtPrevQuestion_->setReadOnly(true);
    txtPrevQuestion_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(fraPrevious_);

    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), frAll);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->installEventFilter(this);
    layout->addWidget(cmdCancel_, 0, Qt::AlignHCenter);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

    pnlMessage_ = new MsgPanel(this);
    pnlMessage_->setObjectName(QStringLiteral("pnlMessage"));
    outer->addWidget(pnlMessage_);
    setTabOrder(txtCurQuestion_, cmdCancel_);
    setMinimumWidth(twipsToPixels(6000, this));
    render();
}

void frmVerify::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterForm(*this);
    txtCurQuestion_->setFocus(Qt::OtherFocusReason);
}

void frmVerify::render() {
    lblCurQuestion_->setText(q(form_.currentLabel()));
    // The input box is named after the item it takes, for a screen reader.
    txtCurQuestion_->setAccessibleName(q(form_.currentLabel()));
    fraPrevious_->setVisible(form_.previousVisible());
    lblPrevQuestion_->setText(q(form_.previousLabel()));
    txtPrevQuestion_->setText(q(form_.previousResponse()));
    txtPrevQuestion_->setAccessibleName(q(form_.previousLabel()));
}

bool frmVerify::save(const std::string& answers) {
    records::ClientRecord record = store_.record(slot_);
    record.set(records::Field::Answers, answers);
    try {
        store_.update(slot_, record);
        return true;
    } catch (const RunError& e) {
        services_.dialogs.message(app::runErrorText(e.number(), e.description()) +
                                      "\r\rThe verified answers were not saved; the answers stored before are unchanged.",
                                  "Data Verification", app::MsgIcon::Critical, app::MsgButtons::Ok);
        return false;
    }
}

void frmVerify::key(char c) {
    const VerifyStep step = form_.key(c);
    if (step.beep) services_.beeper.beep();
    if (step.save && !save(*step.save)) {
        accept();
        return;
    }
    if (step.message) services_.dialogs.show(*step.message);
    if (step.close) {
        accept();
        return;
    }
    render();
    txtCurQuestion_->clear();
    txtCurQuestion_->setFocus(Qt::OtherFocusReason);
}

bool frmVerify::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtCurQuestion_) pnlMessage_->setText(QString::fromLatin1(kVerifyHelp));
        if (watched == cmdCancel_) pnlMessage_->setText(QString::fromLatin1(kVerifyCancelHelp));
    }
    if (watched == txtCurQuestion_ && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        switch (k->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            return false;  // focus moves; Escape cancels like the button
        case Qt::Key_Backspace:
            key('\b');
            return true;
        default:
            break;
        }
        // The box never keeps a character: each typed one is a response, or beeps.
        const QString text = k->text();
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) key('\r');
        else if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7f) key(text[0].toLatin1());
        else if (text.size() == 1 && !text[0].isNull()) key('\x7f');
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kcs::administration
