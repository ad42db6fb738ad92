#include "kcs/intake/CourtHistory.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "kcs/ui/ScreenConventions.h"

namespace kcs::intake {

using namespace kcs::ui;

namespace {

constexpr const char* kFieldNames[kCourtItems] = {
    "txtAgeAtFirstArrest", "txtFelonyArrests", "txtTimesOnProbation", "txtProbationRevocations",
    "txtParole",           "txtTimesArrested", "txtTimesJail",        "txtTimesPrison",
    "txtAlcoholArrests",   "txtDrugArrests",   "txtPercentageTimeEmployed"};

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QLineEdit* edit(QWidget* w) { return static_cast<QLineEdit*>(w); }

}  // namespace

frmCourtHistory::frmCourtHistory(bool editMode, records::ClientRecord& record, ui::Services& services,
                                 QWidget* parent)
    : EntryScreen(QStringLiteral("frmCourtHistory"), QStringLiteral("Court History"), services, parent),
      editMode_(editMode),
      record_(record),
      form_(editMode, record) {
    lblClientName_ = new QLabel(QString::fromStdString(record.textUtf8(records::Field::Name)), this);
    lblClientName_->setObjectName(QStringLiteral("lblClientName"));
    setPanelColors(*lblClientName_, kBlue, kWhite);
    setBold(lblClientName_, true);
    topLayout()->addWidget(lblClientName_, 0, Qt::AlignHCenter);

    for (int item = 1; item <= kCourtItems; ++item) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(kFieldNames[item - 1]));
        box->setMaxLength(2);
        box->setFixedWidth(twipsToPixels(600, this));
        // The caption runs into a dotted leader up to its field.
        QString caption = q(CourtHistoryForm::caption(item)) + QLatin1Char(' ');
        caption = caption.leftJustified(56, QLatin1Char('.'));
        addField(caption, box);
        toWidget(item);
    }
    finishLayout(q(CourtHistoryForm::okHelpLine()), q(CourtHistoryForm::cancelHelpLine()));
}

void frmCourtHistory::fromWidgets() {
    for (int item = 1; item <= kCourtItems; ++item) form_.setText(item, edit(field(item - 1))->text().toStdString());
}

void frmCourtHistory::toWidget(int item) {
    const QString text = QString::fromStdString(form_.text(item));
    if (edit(field(item - 1))->text() != text) edit(field(item - 1))->setText(text);
}

QString frmCourtHistory::helpLine(int i) const { return q(CourtHistoryForm::helpLine(i + 1)); }

bool frmCourtHistory::enterField(int i) {
    fromWidgets();
    const auto refused = form_.enter(i + 1);
    toWidget(i + 1);
    if (refused) refuse(i, *refused);
    return !refused;
}

void frmCourtHistory::showEvent(QShowEvent* event) {
    EntryScreen::showEvent(event);
    CenterForm(*this);
    buttons().ResetMenuHighlight();
    if (editMode_) focusOk();
    else focusField(0);
}

void frmCourtHistory::informationOk() {
    fromWidgets();
    const auto refused = form_.confirm();
    for (int item = 1; item <= kCourtItems; ++item) toWidget(item);
    if (refused) {
        refuse(refused->item - 1, refused->message);
        return;
    }
    form_.SaveCourtData(record_);
    finish(true);
}

void frmCourtHistory::cancelInput() {
    // A new client's details are dropped with it (ClearCurrentClient).
    if (!editMode_) record_ = records::ClientRecord();
    finish(false);
}

}  // namespace kcs::intake
