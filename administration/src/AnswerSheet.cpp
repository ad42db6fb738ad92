#include "kcs/administration/AnswerSheet.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "kcs/app/SaveRetry.h"
#include "kcs/ui/CellGrid.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::administration {

using namespace kcs::ui;

namespace {

QColor color(std::uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

frmNewEntry::frmNewEntry(bool editMode, std::int16_t& slot, records::ClientRecord& record, app::ClientStore& store,
                         ui::Services& services, const std::vector<BankItem>& items, QWidget* parent)
    : QDialog(parent),
      editMode_(editMode),
      slot_(slot),
      record_(record),
      store_(store),
      services_(services),
      form_(items, record.raw(records::Field::Answers)) {
    setUpModalScreen(*this, QStringLiteral("frmNewEntry"), QStringLiteral("Edit Client Responses"));

    auto* layout = new QVBoxLayout(this);
    const int m = twipsToPixels(240, this);
    layout->setContentsMargins(m, m, m, 0);
    lblClientName_ = new QLabel(QString::fromStdString(record.textUtf8(records::Field::Name)), this);
    lblClientName_->setObjectName(QStringLiteral("lblClientName"));
    setPanelColors(*lblClientName_, kBlue, kWhite);
    setBold(lblClientName_, true);
    layout->addWidget(lblClientName_, 0, Qt::AlignHCenter);

    // The grids side by side, 200 twips apart, each under its label.
    auto* frEntry = new QWidget(this);
    frEntry->setObjectName(QStringLiteral("frEntry"));
    auto* row = new QHBoxLayout(frEntry);
    row->setSpacing(twipsToPixels(200, this));
    for (int k = 0; k <= form_.lastGrid(); ++k) {
        const SheetGrid& g = form_.grids()[static_cast<std::size_t>(k)];
        auto* column = new QVBoxLayout;
        auto* label = new QLabel(q(AnswerSheetForm::label(k)), frEntry);
        label->setObjectName(indexedName(QStringLiteral("lblSection"), k));
        setPanelColors(*label, kBlue, kWhite);
        auto* grid = new CellGrid(frEntry);
        grid->setObjectName(indexedName(QStringLiteral("grdResponses"), k));
        grid->setAccessibleName(label->text());
        // The design widths, widened where the screen's font needs more for "158." or "X".
        const QFontMetrics fm = grid->fontMetrics();
        std::vector<int> widths;
        for (int twips : g.columnTwips()) {
            const QString widest = widths.empty() ? QStringLiteral("158.") : QStringLiteral("X");
            widths.push_back(std::max(twipsToPixels(twips, this), fm.horizontalAdvance(widest) + 8));
        }
        grid->setColumnWidths(widths);
        grid->setRows(g.rows());
        const int width = std::max(twipsToPixels(g.widthTwips(), this), grid->sizeHint().width() + twipsToPixels(150, this));
        grid->setFixedSize(width, grid->sizeHint().height());
        grid->installEventFilter(this);
        connect(grid, &CellGrid::cellClicked, this, [this, k](int r, int) {
            form_.click(k, r);
            paint(k);
        });
        label->setFixedWidth(grid->width());
        column->addWidget(label);
        column->addWidget(grid);
        row->addLayout(column);
        grids_.push_back(grid);
        paint(k);
    }
    layout->addWidget(frEntry, 0, Qt::AlignHCenter);

    auto* buttonFrame = new QWidget(this);
    buttonFrame->setObjectName(QStringLiteral("frButtons"));
    msgPanel_ = new MsgPanel(this);
    row_ = new MenuButtonRow(*this, msgPanel_, services_.dialogs);
    row_->addButton(buttonFrame, QStringLiteral("Save"), QStringLiteral("SAVE data, close this window and return to Main Menu"));
    row_->addButton(buttonFrame, QStringLiteral("Cancel"),
                    QStringLiteral("DISCARD data, close this window and return to Main Menu"));
    row_->layoutRow(buttonFrame, twipsToPixels(1800, this), twipsToPixels(500, this), twipsToPixels(240, this));
    row_->onChosen([this](int i) {
        if (i == 0) save();
        else cancel();
    });
    layout->addWidget(buttonFrame, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(msgPanel_);

    for (std::size_t k = 1; k < grids_.size(); ++k) setTabOrder(grids_[k - 1], grids_[k]);
    if (!grids_.empty()) setTabOrder(grids_.back(), row_->button(0));
    setTabOrder(row_->button(0), row_->button(1));
    resize(std::max(sizeHint().width(), twipsToPixels(9600, this)), sizeHint().height());
}

int frmNewEntry::gridIndex(QObject* o) const {
    for (std::size_t k = 0; k < grids_.size(); ++k)
        if (grids_[k] == o) return static_cast<int>(k);
    return -1;
}

void frmNewEntry::paint(int k) {
    CellGrid* grid = grids_.at(static_cast<std::size_t>(k));
    const SheetGrid& g = form_.grids()[static_cast<std::size_t>(k)];
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.columns(); ++c) {
            const SheetCell cell = form_.cell(k, r, c);
            grid->setCell(r, c, QString::fromStdString(cell.text), color(cell.back), color(cell.fore));
        }
    grid->setTopRow(g.topRow);
    grid->setCurrentCell(g.row, g.col);
}

void frmNewEntry::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterForm(*this);
    row_->ResetMenuHighlight();
    if (grids_.empty()) row_->button(0)->setFocus(Qt::OtherFocusReason);
    else grids_.front()->setFocus(Qt::OtherFocusReason);
}

void frmNewEntry::apply(int k, const AnswerSheetForm::Effect& effect) {
    if (effect.beep) services_.beeper.beep();
    paint(k);
    if (effect.focusGrid >= 0 && effect.focusGrid != k) grids_.at(static_cast<std::size_t>(effect.focusGrid))->setFocus(Qt::OtherFocusReason);
}

bool frmNewEntry::eventFilter(QObject* watched, QEvent* event) {
    const int k = gridIndex(watched);
    if (k < 0) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        form_.focusIn(k);
        msgPanel_->setText(q(form_.helpLine(k)));
        paint(k);
        break;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            form_.focusOut(k);
            paint(k);
        }
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
            return false;
        case Qt::Key_Up: apply(k, form_.up(k)); return true;
        case Qt::Key_Down: apply(k, form_.down(k)); return true;
        default: break;
        }
        const QString text = key->text();
        // Any other typed character is offered to the grid; keys that type nothing
        // (Left, Right, Page Up...) do nothing here.
        if (text.size() == 1 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const QChar c = text.front();
            apply(k, form_.keyPress(k, c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?'));
        }
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmNewEntry::save() {
    row_->button(0)->setEnabled(false);
    row_->button(1)->setEnabled(false);
    records::ClientRecord next = record_;
    next.set(records::Field::Answers, form_.answers());
    // A new client's slot was set when its sequence began: trying again saves the same
    // record, never a second copy of one whose first save did reach the drive.
    const bool saved = app::saveWithRetry(services_.dialogs, [&] { store_.save(slot_, next); });
    row_->button(0)->setEnabled(true);
    row_->button(1)->setEnabled(true);
    if (!saved) {
        // Everything keyed is still here; the operator saves again or cancels.
        row_->button(0)->setFocus(Qt::OtherFocusReason);
        return;
    }
    record_ = next;
    completed_ = true;
    accept();
}

void frmNewEntry::cancel() {
    if (!editMode_) record_ = records::ClientRecord();
    completed_ = false;
    QDialog::reject();
}

void frmNewEntry::reject() {
    row_->button(1)->setFocus(Qt::OtherFocusReason);
}

}  // namespace kcs::administration
