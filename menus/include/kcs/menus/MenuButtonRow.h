#pragma once
// A column of large menu buttons, each in a slightly larger panel that turns cyan while
// its button has the focus, and the help line MsgPanel that shows the focused button's
// help text. Keys on a button: Enter (either key) acts as a click; Space clicks as usual;
// Tab, Backtab and the up/down arrows move between controls; every other key is
// discarded.

#include <QFrame>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <vector>

namespace kcs::menus {

// The help line across the bottom of a screen.
class MsgPanel : public QLabel {
    Q_OBJECT
public:
    explicit MsgPanel(QWidget* parent = nullptr);
};

class MenuButtonRow : public QObject {
    Q_OBJECT
public:
    // `window` is the screen the row belongs to (the highlight helpers search it by name);
    // `msgPanel` may be null for a screen without a help line.
    MenuButtonRow(QWidget& window, MsgPanel* msgPanel);

    // Adds button i (i = count so far) with its panel, both children of `container`,
    // laid out by the caller (or with layoutColumn). Returns the button.
    QPushButton* addButton(QWidget* container, const QString& caption, const QString& helpText);
    // Stacks the panels of the row in `container` one under another, with `gap` pixels
    // between them, buttons `buttonWidth` x `buttonHeight`; resizes the container to fit.
    void layoutColumn(QWidget* container, int buttonWidth, int buttonHeight, int gap);

    int highest() const { return static_cast<int>(buttons_.size()) - 1; }
    QPushButton* button(int i) const { return buttons_.at(static_cast<std::size_t>(i)); }
    QFrame* panel(int i) const { return panels_.at(static_cast<std::size_t>(i)); }
    void setHelpText(int i, const QString& text) { helps_.at(static_cast<std::size_t>(i)) = text; }

    // What a screen does on activation.
    void resetHighlight();

signals:
    // A button was clicked, by mouse, Space or Enter.
    void chosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOf(QObject* o) const;
    // Up/down arrows: the nearest visible, enabled button before or after `from`.
    void moveFocus(int from, int step);

    QWidget& window_;
    MsgPanel* msgPanel_;
    std::vector<QPushButton*> buttons_;
    std::vector<QFrame*> panels_;
    std::vector<QString> helps_;
};

}  // namespace kcs::menus
