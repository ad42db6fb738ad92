#include "kcs/ui/EntryFields.h"

#include <QKeyEvent>

namespace kcs::ui {

namespace {

// The typed character of a key that types one; null for keys that edit or move.
QChar typedChar(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.size() != 1 || !text.front().isPrint()) return {};
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    return text.front();
}

}  // namespace

ListField::ListField(const QStringList& entries, KeyFilter allowed, Matcher match, app::Beeper& beeper,
                     QWidget* parent)
    : QComboBox(parent), allowed_(std::move(allowed)), match_(std::move(match)), beeper_(beeper) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The matching rules pick entries; the toolkit's own completion would pick others.
    setCompleter(nullptr);
    addItems(entries);
    setCurrentIndex(-1);
    connect(this, &QComboBox::editTextChanged, this, [this] { matchText(true); });
}

void ListField::matchText(bool openWhenUnmatched) {
    if (matching_) return;
    const QString text = currentText();
    if (text.isEmpty()) return;
    const int entry = match_(text);
    if (entry < 0) {
        if (openWhenUnmatched) showPopup();
        return;
    }
    matching_ = true;
    if (currentIndex() != entry) setCurrentIndex(entry);
    if (currentText() != itemText(entry)) setEditText(itemText(entry));
    matching_ = false;
    if (lineEdit()) lineEdit()->selectAll();
}

void ListField::keyPressEvent(QKeyEvent* event) {
    const QChar c = typedChar(*event);
    if (!c.isNull() && !allowed_(c)) {
        clearEditText();
        beeper_.beep();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void ListField::focusOutEvent(QFocusEvent* event) {
    // Opening the list or a message box is not leaving the field.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) matchText(false);
    QComboBox::focusOutEvent(event);
}

DateField::DateField(ListField::KeyFilter allowed, app::Beeper& beeper, QWidget* parent)
    : QLineEdit(parent), allowed_(std::move(allowed)), beeper_(beeper) {
    setInputMask(QStringLiteral(">N9/99/9999;_"));
}

void DateField::keyPressEvent(QKeyEvent* event) {
    const QChar c = typedChar(*event);
    if (c.isNull()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (!allowed_(c)) {
        beeper_.beep();
        event->accept();
        return;
    }
    const QString before = displayText();
    const int cursor = cursorPosition();
    QLineEdit::keyPressEvent(event);
    // A "/" only steps over a separator; any other character the mask left out rang no
    // bell of its own.
    if (c != QLatin1Char('/') && displayText() == before && cursorPosition() == cursor) beeper_.beep();
}

}  // namespace kcs::ui
