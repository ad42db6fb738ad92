#pragma once
// frmVerify, "Test Data Input Verification": the current client's answers keyed a second
// time from the answer sheet, and the differing items a third time (see VerifyForm). The
// result is saved through the client store; Cancel leaves the record as it was.
//
// Object names: frmVerify, frAll, fraCurrentQuestion, txtCurQuestion, lblCurQuestion,
// fraPreviousQuestion, txtPrevQuestion, lblPrevQuestion, cmdCancel, pnlMessage.

#include <QDialog>
#include <cstdint>

#include "kcs/administration/VerifyForm.h"
#include "kcs/app/ClientStore.h"
#include "kcs/ui/Services.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kcs::ui {
class MsgPanel;
}

namespace kcs::administration {

class frmVerify : public QDialog {
    Q_OBJECT
public:
    frmVerify(app::ClientStore& store, std::int16_t slot, ui::Services& services, QWidget* parent = nullptr);

    VerifyForm& form() { return form_; }
    QLineEdit* input() const { return txtCurQuestion_; }
    QLabel* currentLabel() const { return lblCurQuestion_; }
    QGroupBox* previousFrame() const { return fraPrevious_; }
    QLabel* previousLabel() const { return lblPrevQuestion_; }
    QLineEdit* previousResponse() const { return txtPrevQuestion_; }
    QPushButton* cancelButton() const { return cmdCancel_; }
    ui::MsgPanel* msgPanel() const { return pnlMessage_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void key(char c);
    void render();
    // Saves the answer field; false (the error shown) when the drive refused it.
    bool save(const std::string& answers);

    app::ClientStore& store_;
    std::int16_t slot_;
    ui::Services& services_;
    VerifyForm form_;

    QLineEdit* txtCurQuestion_;
    QLabel* lblCurQuestion_;
    QGroupBox* fraPrevious_;
    QLabel* lblPrevQuestion_;
    QLineEdit* txtPrevQuestion_;
    QPushButton* cmdCancel_;
    ui::MsgPanel* pnlMessage_;
};

}  // namespace kcs::administration
