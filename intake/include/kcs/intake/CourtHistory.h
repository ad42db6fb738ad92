#pragma once
// frmCourtHistory, caption "Court History": the client's eleven court-history counts,
// written into the sequence's working copy when confirmed (the answers' save stores
// them). Fields txtAgeAtFirstArrest .. txtPercentageTimeEmployed; lblClientName shows the
// client's name.

#include "kcs/intake/CourtHistoryForm.h"
#include "kcs/intake/EntryScreen.h"
#include "kcs/records/ClientRecord.h"

class QLabel;

namespace kcs::intake {

class frmCourtHistory : public EntryScreen {
    Q_OBJECT
public:
    // `record` is the sequence's working copy; Cancel blanks it for a new client.
    frmCourtHistory(bool editMode, records::ClientRecord& record, ui::Services& services, QWidget* parent = nullptr);

    const CourtHistoryForm& form() const { return form_; }
    QLabel* clientName() const { return lblClientName_; }

protected:
    bool enterField(int i) override;
    QString helpLine(int i) const override;
    void informationOk() override;
    void cancelInput() override;
    void showEvent(QShowEvent* event) override;

private:
    void fromWidgets();
    void toWidget(int item);

    bool editMode_;
    records::ClientRecord& record_;
    CourtHistoryForm form_;
    QLabel* lblClientName_;
};

}  // namespace kcs::intake
