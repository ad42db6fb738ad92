#pragma once
// What the two data-entry screens of client intake share: a column of labelled fields
// in a frame, the buttons "Information OK" and "Cancel Input", and the help line.
//
// Keys in a field: Enter and Tab run the field's check, which either moves on to the next
// field or refuses (bell, message, the focus stays); Shift+Tab goes back without the
// check (confirmation checks every field again). A field's label is bold while it has
// the focus, and its whole text is selected when it is entered. Escape is "Cancel Input".
//
// Object names: the screen's own, fraInfo (the frame), lblInfo_i and the fields,
// cmdMenuChoice_0/1 with sspMenuChoice_0/1, MsgPanel.

#include <QDialog>
#include <QString>
#include <vector>

#include "kcs/app/Services.h"
#include "kcs/ui/InfoLabels.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/Services.h"

class QGridLayout;
class QVBoxLayout;

namespace kcs::intake {

class EntryScreen : public QDialog {
    Q_OBJECT
public:
    // True when the screen was confirmed (its ContinueFlag).
    bool completed() const { return completed_; }

    QWidget* field(int i) const { return fields_.at(static_cast<std::size_t>(i)); }
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    ui::MenuButtonRow& buttons() const { return *row_; }
    ui::MsgPanel* msgPanel() const { return msgPanel_; }
    const ui::InfoLabels& labels() const { return labels_; }

protected:
    EntryScreen(const QString& objectName, const QString& caption, ui::Services& services, QWidget* parent);

    // Adds field i under its label; then finishLayout() adds the buttons and help line.
    void addField(const QString& caption, QWidget* field);
    void finishLayout(const QString& okHelp, const QString& cancelHelp);
    // The layout above the frame, for a screen that shows more (the client's name).
    QVBoxLayout* topLayout() const { return top_; }

    // Enter or Tab in field i: true moves on, false keeps the focus there (the screen
    // has refused and said why).
    virtual bool enterField(int i) = 0;
    // Field i lost the focus to another control of the screen.
    virtual void leaveField(int) {}
    virtual QString helpLine(int i) const = 0;
    virtual void informationOk() = 0;
    virtual void cancelInput() = 0;

    // A refusal: the bell, the message, and the focus back on field i.
    void refuse(int i, const app::Message& message);
    void focusField(int i);
    void focusOk();
    void finish(bool completed);

    void reject() override;  // Escape or the close box: the same as Cancel Input
    bool eventFilter(QObject* watched, QEvent* event) override;

    ui::Services& services_;

private:
    int indexOf(QObject* o) const;

    QVBoxLayout* top_;
    QWidget* frame_;
    QGridLayout* grid_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtonRow* row_;
    ui::InfoLabels labels_;
    std::vector<QWidget*> fields_;
    bool completed_ = false;
};

}  // namespace kcs::intake
