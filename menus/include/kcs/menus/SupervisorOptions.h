#pragma once
// The supervisor options window: three tabs (reports, verification, deleting names), the
// current client, "Execute Selection" and "Go to Main Menu". Executing runs the visible
// tab's operation through the supervisor flows; afterwards the window closes.
//
// Object names: frmSupervisorOptions, frControls, sspMenuChoice_2 (the frame round the tab
// control), sstSupervisorOperations, Frame1, optPrintOption_0..2, chkSumPage, Frame3,
// Label1, Frame4, Label2, frCurrentClient, lblNameDisplay, sspMenuChoice_0..1,
// cmdMenuChoice_0..1, MsgPanel.

#include <QDialog>
#include <array>

#include "kcs/menus/SupervisorFlows.h"
#include "kcs/menus/SupervisorForms.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/Services.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTabWidget;

namespace kcs::menus {

class frmSupervisorOptions : public QDialog {
    Q_OBJECT
public:
    frmSupervisorOptions(const app::ClientStore& store, SupervisorFlows& flows, ui::Services& services,
                         QWidget* parent = nullptr);

    SupervisorOptionsForm& form() { return form_; }
    QTabWidget* tabs() const { return sstSupervisorOperations_; }
    QRadioButton* printOption(int i) const { return optPrintOption_.at(static_cast<std::size_t>(i)); }
    QCheckBox* summaryPage() const { return chkSumPage_; }
    QLabel* nameDisplay() const { return lblNameDisplay_; }
    ui::MsgPanel* msgPanel() const { return msgPanel_; }
    ui::MenuButtonRow& buttons() const { return *row_; }
    QFrame* tabFrame() const { return tabFrame_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();
    void tabChanged(int tab);
    void execute();

    SupervisorOptionsForm form_;
    SupervisorFlows& flows_;
    ui::Services& services_;
    bool activated_ = false;

    QFrame* tabFrame_;
    QTabWidget* sstSupervisorOperations_;
    std::array<QRadioButton*, 3> optPrintOption_{};
    QCheckBox* chkSumPage_;
    QLabel* lblNameDisplay_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtonRow* row_;
};

}  // namespace kcs::menus
