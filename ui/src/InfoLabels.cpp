#include "kcs/ui/InfoLabels.h"

#include "kcs/ui/ScreenConventions.h"

namespace kcs::ui {

QLabel* InfoLabels::add(QWidget* parent, const QString& caption, QWidget* field) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(indexedName(QStringLiteral("lblInfo"), static_cast<int>(labels_.size())));
    if (field) {
        label->setBuddy(field);
        QString name = caption;
        name.remove(QLatin1Char('&'));
        while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(':'))) name.chop(1);
        field->setAccessibleName(name.trimmed());
    }
    labels_.push_back(label);
    return label;
}

void InfoLabels::ResetInfoLabels() {
    for (QLabel* l : labels_) setBold(l, false);
}

void InfoLabels::HighlightInfoLabel(int index) {
    ResetInfoLabels();
    setBold(label(index), true);
}

}  // namespace kcs::ui
