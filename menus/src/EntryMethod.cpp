#include "kcs/menus/EntryMethod.h"

#include <QGroupBox>
#include <QVBoxLayout>

#include "kcs/ui/ScreenConventions.h"

namespace kcs::menus {

using namespace kcs::ui;

namespace {

constexpr std::string_view kCaptions[EntryMethodForm::kButtons] = {
    "Administer Test to Client", "Enter Test Data from Answer Sheet", "", "Cancel New Client Entry"};
constexpr std::string_view kHelps[EntryMethodForm::kButtons] = {
    "Onscreen Presentation. Enter client information then present the test on the computer.",
    "Paper-Pencil Presentation. Manually enter test information from completed answer sheet.", "",
    "Cancel. Do not enter a new client. Return to Main Menu."};

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

std::string_view EntryMethodForm::caption(int button) { return kCaptions[button]; }
std::string_view EntryMethodForm::helpLine(int button) { return kHelps[button]; }

bool EntryMethodForm::choose(int button, ClientFlows& flows, const std::function<void(const std::string&)>& helpLine) {
    switch (button) {
    case 0: flows.administerTest(helpLine); return true;
    case 1: flows.enterFromAnswerSheet(); return true;
    case 3: return true;
    default: return false;
    }
}

frmEntryMethod::frmEntryMethod(ClientFlows& flows, ui::Services& services, QWidget* parent)
    : QDialog(parent), flows_(flows) {
    setUpModalScreen(*this, QStringLiteral("frmEntryMethod"), QStringLiteral("Entry Method"));

    auto* layout = new QVBoxLayout(this);
    const int m = twipsToPixels(360, this);
    layout->setContentsMargins(m, m, m, 0);
    auto* fraSelectMethod = new QGroupBox(QStringLiteral("Select Client Data Entry Method"), this);
    fraSelectMethod->setObjectName(QStringLiteral("fraSelectMethod"));
    setPanelColors(*fraSelectMethod, kBlue, kWhite);
    frame_ = fraSelectMethod;
    auto* inner = new QVBoxLayout(fraSelectMethod);
    auto* column = new QWidget(fraSelectMethod);
    inner->addWidget(column);

    msgPanel_ = new MsgPanel(this);
    row_ = new MenuButtonRow(*this, msgPanel_, services.dialogs);
    for (int i = 0; i < EntryMethodForm::kButtons; ++i) row_->addButton(column, q(kCaptions[i]), q(kHelps[i]));
    row_->setButtonVisible(EntryMethodForm::kHidden, false);
    row_->layoutColumn(column, twipsToPixels(4200, this), twipsToPixels(700, this), twipsToPixels(150, this));
    column->setFixedSize(column->size());
    row_->onChosen([this](int i) {
        if (EntryMethodForm::choose(i, flows_, [this](const std::string& text) { msgPanel_->setText(q(text)); }))
            accept();
    });
    setTabOrder(row_->button(0), row_->button(1));
    setTabOrder(row_->button(1), row_->button(3));

    layout->addStretch(1);
    layout->addWidget(fraSelectMethod, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(msgPanel_);
    resize(twipsToPixels(7200, this), std::max(sizeHint().height(), twipsToPixels(5400, this)));
}

void frmEntryMethod::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterForm(*this);
    row_->ResetMenuHighlight();
    row_->button(0)->setFocus(Qt::OtherFocusReason);
}

}  // namespace kcs::menus
