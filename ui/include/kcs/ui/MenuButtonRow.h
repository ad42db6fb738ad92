#pragma once
// A row of large menu buttons, each in a slightly larger panel that turns cyan while its
// button has the focus, and the help line MsgPanel that shows the focused button's help
// text. Keys on a button: Enter (either key) acts as a click; Space clicks as usual; Tab,
// Backtab and the arrows move between controls; every other key is discarded. The row
// works on its own buttons and panels only, so two rows in one window never mix.

#include <QFrame>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <functional>
#include <vector>

#include "kcs/app/Services.h"

namespace kcs::ui {

// The help line across the bottom of a screen.
class MsgPanel : public QLabel {
    Q_OBJECT
public:
    explicit MsgPanel(QWidget* parent = nullptr);
};

class MenuButtonRow : public QObject {
    Q_OBJECT
public:
    // `window` is the screen the row belongs to; `msgPanel` may be null for a screen
    // without a help line. A button's action runs through the error guard: an error it
    // raises is shown on `errors` as the "Error N:..." box.
    MenuButtonRow(QWidget& window, MsgPanel* msgPanel, app::MessageBoxes& errors);

    // Adds button i (i = count so far) with its panel, both children of `container`,
    // laid out by the caller (or with layoutColumn). Returns the button.
    QPushButton* addButton(QWidget* container, const QString& caption, const QString& helpText);
    // Stacks the panels of the row in `container` one under another, with `gap` pixels
    // between them, buttons `buttonWidth` x `buttonHeight`; resizes the container to fit.
    void layoutColumn(QWidget* container, int buttonWidth, int buttonHeight, int gap);
    // Puts the panels side by side in `container`, left to right.
    void layoutRow(QWidget* container, int buttonWidth, int buttonHeight, int gap);

    // What a click (mouse, Space or Enter) on button i does.
    void onChosen(std::function<void(int)> action) { action_ = std::move(action); }
    // Called after a button's help text is shown (a screen may add to it).
    void onFocus(std::function<void(int)> focused) { focused_ = std::move(focused); }

    int highest() const { return static_cast<int>(buttons_.size()) - 1; }
    QPushButton* button(int i) const { return buttons_.at(static_cast<std::size_t>(i)); }
    QFrame* panel(int i) const { return panels_.at(static_cast<std::size_t>(i)); }
    void setHelpText(int i, const QString& text) { helps_.at(static_cast<std::size_t>(i)) = text; }
    // Hides or shows button i together with its panel.
    void setButtonVisible(int i, bool visible);

    // Every panel blue and every button normal.
    void ResetMenuHighlight();
    // ResetMenuHighlight, then panel k cyan and button k bold.
    void HighlightMenuChoice(int index);

signals:
    // Emitted after a button's action has run.
    void chosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOf(QObject* o) const;
    // Arrow keys: the nearest visible, enabled button before or after `from`.
    void moveFocus(int from, int step);
    void choose(int index);

    QWidget& window_;
    MsgPanel* msgPanel_;
    app::MessageBoxes& errors_;
    std::function<void(int)> action_;
    std::function<void(int)> focused_;
    std::vector<QPushButton*> buttons_;
    std::vector<QFrame*> panels_;
    std::vector<QString> helps_;
};

}  // namespace kcs::ui
