#pragma once
// frmNewEntry, caption "Edit Client Responses": the operator keys a client's answers
// from the paper answer sheet into one grid per answer type (grdResponses_k under its
// label lblSection_k, side by side in frEntry), then "Save" stores the answer string in
// the sequence's working copy and saves the record (a new client is appended, a stored
// one rewritten); "Cancel" leaves without writing. Escape only moves to "Cancel", so a
// stray key never throws away a sheet of keyed answers.

#include <QDialog>
#include <vector>

#include "kcs/administration/AnswerSheetForm.h"
#include "kcs/app/ClientStore.h"
#include "kcs/records/ClientRecord.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/Services.h"

class QLabel;

namespace kcs::ui {
class CellGrid;
}

namespace kcs::administration {

class frmNewEntry : public QDialog {
    Q_OBJECT
public:
    // `record` is the sequence's working copy and `items` the rows of the bank's
    // "English" table. A stored client (`editMode`) is saved as record `slot`; a new one
    // is added to `store` and `slot` becomes its number.
    frmNewEntry(bool editMode, std::int16_t& slot, records::ClientRecord& record, app::ClientStore& store,
                ui::Services& services, const std::vector<BankItem>& items, QWidget* parent = nullptr);

    bool completed() const { return completed_; }
    const AnswerSheetForm& form() const { return form_; }
    ui::CellGrid* grid(int k) const { return grids_.at(static_cast<std::size_t>(k)); }
    int gridCount() const { return static_cast<int>(grids_.size()); }
    ui::MenuButtonRow& buttons() const { return *row_; }
    ui::MsgPanel* msgPanel() const { return msgPanel_; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int gridIndex(QObject* o) const;
    // Puts what the form shows into grid k: every cell, the current cell, the top row.
    void paint(int k);
    void apply(int k, const AnswerSheetForm::Effect& effect);
    void save();
    void cancel();

    bool editMode_;
    std::int16_t& slot_;
    records::ClientRecord& record_;
    app::ClientStore& store_;
    ui::Services& services_;
    AnswerSheetForm form_;
    std::vector<ui::CellGrid*> grids_;
    QLabel* lblClientName_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtonRow* row_;
    bool completed_ = false;
};

}  // namespace kcs::administration
