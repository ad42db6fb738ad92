#pragma once
// Entry fields of the data-entry screens that the toolkit has no exact match for.
//
// ListField: an editable drop-down list. Typed keys are offered to a filter first: a key
// it refuses empties the text and rings the bell. Whenever the text changes it is
// matched to an entry, which is then picked (and selected as a whole, so the next key
// replaces it); a text that matches no entry opens the list. Up and Down step through the
// entries, F4 opens the list. The screen owns the rules; this field only applies them.
//
// DateField: a masked date "__/__/____" whose first place takes a letter or digit (shown
// in upper case, so "N" can be typed) and whose other places take digits; the "/" are
// fixed. Keys the filter refuses, and characters the mask cannot place, ring the bell.

#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <functional>

#include "kcs/app/Services.h"

namespace kcs::ui {

class ListField : public QComboBox {
    Q_OBJECT
public:
    using KeyFilter = std::function<bool(QChar)>;
    using Matcher = std::function<int(const QString&)>;  // the entry's index, -1 for none

    ListField(const QStringList& entries, KeyFilter allowed, Matcher match, app::Beeper& beeper,
              QWidget* parent = nullptr);

    // Picks the entry the text stands for; `openWhenUnmatched` opens the list otherwise.
    void matchText(bool openWhenUnmatched);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    KeyFilter allowed_;
    Matcher match_;
    app::Beeper& beeper_;
    bool matching_ = false;
};

class DateField : public QLineEdit {
    Q_OBJECT
public:
    DateField(ListField::KeyFilter allowed, app::Beeper& beeper, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ListField::KeyFilter allowed_;
    app::Beeper& beeper_;
};

}  // namespace kcs::ui
