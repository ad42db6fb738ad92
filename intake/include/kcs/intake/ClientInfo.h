#pragma once
// frmClientInfo, caption "Client Information": a client's name, age, sex, ethnicity,
// marital status, years of education and date of birth, for a new client or for the
// stored client of an edit sequence. A stored client's changes are counted (three in
// all) and a changed record is saved at once; a new client's details stay in the
// sequence's working copy until the answers are saved.
//
// Fields: txtName, txtAge, cmbGender, cmbRace, cmbMarital, txtEducation, mebDateOfBirth.

#include "kcs/app/ClientStore.h"
#include "kcs/intake/ClientInfoForm.h"
#include "kcs/intake/EntryScreen.h"
#include "kcs/records/ClientRecord.h"

namespace kcs::intake {

class frmClientInfo : public EntryScreen {
    Q_OBJECT
public:
    // `record` is the sequence's working copy: it receives the details when they are
    // confirmed. A stored client (`editMode`) is saved to record `slot` of `store`.
    frmClientInfo(bool editMode, std::int16_t slot, records::ClientRecord& record, app::ClientStore& store,
                  ui::Services& services, QWidget* parent = nullptr);

    const ClientInfoForm& form() const { return form_; }
    QWidget* fieldOf(InfoField f) const { return field(static_cast<int>(f)); }

protected:
    bool enterField(int i) override;
    void leaveField(int i) override;
    QString helpLine(int i) const override;
    void informationOk() override;
    void cancelInput() override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString widgetText(InfoField f) const;
    void fromWidget(InfoField f);
    void toWidget(InfoField f);
    void applyLocks();
    // The change that reached the limit: the box, the lock, the focus on "Information OK".
    void lockAtLimit();

    ClientInfoForm form_;
    std::int16_t slot_;
    records::ClientRecord& record_;
    app::ClientStore& store_;
    bool activated_ = false;
    bool limitPending_ = false;
};

}  // namespace kcs::intake
