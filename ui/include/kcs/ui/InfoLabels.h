#pragma once
// The field labels lblInfo_0..n of a data-entry screen: the label of the field that has
// the focus is bold. Each label is tied to its field as the field's accessible name, so a
// screen reader announces the field by its label.

#include <QLabel>
#include <QString>
#include <vector>

namespace kcs::ui {

class InfoLabels {
public:
    // Adds label i (i = count so far) for `field`, a child of `parent`.
    QLabel* add(QWidget* parent, const QString& caption, QWidget* field);

    QLabel* label(int i) const { return labels_.at(static_cast<std::size_t>(i)); }
    int highest() const { return static_cast<int>(labels_.size()) - 1; }

    // Every label normal.
    void ResetInfoLabels();
    // ResetInfoLabels, then label k bold.
    void HighlightInfoLabel(int index);

private:
    std::vector<QLabel*> labels_;
};

}  // namespace kcs::ui
