#pragma once
// The entry-method window, caption "Entry Method": how a new client's answers will reach
// the program, on screen or from a paper answer sheet. Each road runs the whole
// new-client sequence through the flows, then the window closes.
//
// Object names: frmEntryMethod, fraSelectMethod, cmdMenuChoice_0..3 with
// sspMenuChoice_0..3 (index 2 is hidden and does nothing), MsgPanel.

#include <QDialog>
#include <functional>
#include <string>
#include <string_view>

#include "kcs/menus/Flows.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/Services.h"

namespace kcs::menus {

struct EntryMethodForm {
    static constexpr int kButtons = 4;
    static constexpr int kHidden = 2;
    static std::string_view caption(int button);
    static std::string_view helpLine(int button);
    // Runs the road of a button; `helpLine` writes the window's help line. True when the
    // window closes afterwards.
    static bool choose(int button, ClientFlows& flows, const std::function<void(const std::string&)>& helpLine);
};

class frmEntryMethod : public QDialog {
    Q_OBJECT
public:
    frmEntryMethod(ClientFlows& flows, ui::Services& services, QWidget* parent = nullptr);

    ui::MenuButtonRow& buttons() const { return *row_; }
    ui::MsgPanel* msgPanel() const { return msgPanel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    ClientFlows& flows_;
    QWidget* frame_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtonRow* row_;
};

}  // namespace kcs::menus
