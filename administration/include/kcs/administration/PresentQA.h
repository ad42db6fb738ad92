#pragma once
// The screens of the on-screen test.
//
// frmSelectLanguage, caption "Select Presentation Language": one button per language of
// the question bank and "Cancel Presentation". Object names: fraSelectMethod,
// cmdMenuChoice_0..3 with sspMenuChoice_0..3, MsgPanel.
//
// frmPresentQA, caption "Question Presentation" ("Presentación de preguntas" in
// Spanish): the client answers the 158 items with the keyboard; the 158th answer saves
// the record. F10 steps back one item; Alt+Shift+F10 abandons the test and writes
// nothing. Object names: fraInstructions with txtInstructions, frQandA holding
// fraQuestions (txtQuestion) and fraAnswer (cmdMenuChoice_0..4, sspMenuChoice_0..4,
// txtButtonText_0..4), MsgPanel.

#include <QDialog>
#include <filesystem>
#include <vector>

#include "kcs/administration/PresentQAForm.h"
#include "kcs/app/ClientStore.h"
#include "kcs/records/ClientRecord.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/Services.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;

namespace kcs::administration {

class frmSelectLanguage : public QDialog {
    Q_OBJECT
public:
    // `languages` as LanguageForm found them (two or more). A new client's record is
    // cleared by "Cancel Presentation"; a stored client's (`editMode`) is kept.
    frmSelectLanguage(const std::vector<std::string>& languages, bool editMode, records::ClientRecord& record,
                      ui::Services& services, QWidget* parent = nullptr);

    bool completed() const { return completed_; }
    const std::string& Language() const { return language_; }
    ui::MenuButtonRow& buttons() const { return *row_; }
    ui::MsgPanel* msgPanel() const { return msgPanel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool editMode_;
    records::ClientRecord& record_;
    std::vector<std::string> captions_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtonRow* row_;
    std::string language_;
    bool completed_ = false;
};

class frmPresentQA : public QDialog {
    Q_OBJECT
public:
    // `items`: the language table's rows; `soundFolder`: where its wave files are. The
    // finished test is stored in `record` and saved as record `slot` of `store`.
    frmPresentQA(const std::string& language, std::vector<QAItem> items, std::filesystem::path soundFolder,
                 std::int16_t slot, records::ClientRecord& record, app::ClientStore& store, ui::Services& services,
                 QWidget* parent = nullptr);

    bool completed() const { return completed_; }
    const PresentQAForm& form() const { return form_; }
    QPlainTextEdit* instructions() const { return txtInstructions_; }
    QPlainTextEdit* question() const { return txtQuestion_; }
    QLabel* answerText(int i) const { return answerTexts_.at(static_cast<std::size_t>(i)); }
    ui::MenuButtonRow& buttons() const { return *row_; }
    ui::MsgPanel* msgPanel() const { return msgPanel_; }

    void reject() override;  // Escape never ends the test

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(PresentQAForm::Effect effect);
    void render();
    void hidePart(QWidget* part);
    void focusQuestion();
    void questionFocused();
    void PlaySoundFile(const std::string& name);
    void StopSound();
    void finish();
    void abandon();
    void end(bool completed);

    PresentQAForm form_;
    std::filesystem::path soundFolder_;
    std::int16_t slot_;
    records::ClientRecord& record_;
    app::ClientStore& store_;
    ui::Services& services_;
    QGroupBox* fraInstructions_;
    QPlainTextEdit* txtInstructions_;
    QWidget* frQandA_;
    QPlainTextEdit* txtQuestion_;
    std::vector<QLabel*> answerTexts_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtonRow* row_;
    int shownSection_ = -1;
    bool started_ = false;
    bool ending_ = false;
    bool completed_ = false;
};

}  // namespace kcs::administration
