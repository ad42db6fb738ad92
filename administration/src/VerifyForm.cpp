#include "kcs/administration/VerifyForm.h"

#include "kcs/records/ClientRecord.h"

namespace kcs::administration {

namespace {

constexpr int kItems = records::kAnswerCount;
// The last true/false item: its answers are 1 (True) and 2 (False).
constexpr int kLastTrueFalseItem = 99;

bool acceptable(int item, char c) {
    return c >= '0' && c <= (item <= kLastTrueFalseItem ? '2' : '4');
}

std::string trimmed(std::string_view v) {
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    return std::string(v);
}

}  // namespace

VerifyForm::VerifyForm(std::string_view storedAnswers)
    : keyed_(kItems, '0'), stored_(trimmed(storedAnswers)), raw_(storedAnswers), list_(kItems + 1, 0), count_(kItems) {
    for (int i = 1; i <= kItems; ++i) list_[static_cast<std::size_t>(i)] = i;
}

std::string VerifyForm::currentLabel() const { return "Question #" + std::to_string(currentItem()); }

std::string VerifyForm::previousLabel() const {
    return previousVisible() ? "Question #" + std::to_string(previousItem()) : std::string();
}

std::string VerifyForm::previousResponse() const {
    return previousVisible() ? std::string(1, keyed_[static_cast<std::size_t>(previousItem() - 1)]) : std::string();
}

VerifyStep VerifyForm::key(char c) {
    VerifyStep step;
    if (c == '\b') {
        // Back to the entry before, which is keyed again; not before the pass's first.
        if (pos_ < 2) step.beep = true;
        else --pos_;
        return step;
    }
    if (!acceptable(currentItem(), c)) {
        step.beep = true;
        return step;
    }
    keyed_[static_cast<std::size_t>(currentItem() - 1)] = c;
    if (++pos_ > count_) return finish();
    return step;
}

VerifyStep VerifyForm::finish() {
    VerifyStep step;
    if (correctionPass_) {
        // The second keying, every differing item keyed a third time, replaces the answers.
        step.save = keyed_;
        step.message = app::Message{"Data Verification complete.", "Data Verification", app::MsgIcon::None,
                                    app::MsgButtons::Ok};
        step.close = true;
        --pos_;
        return step;
    }
    int count = 0;
    for (int p = 1; p <= kItems; ++p) {
        const auto i = static_cast<std::size_t>(p - 1);
        if (i >= stored_.size() || stored_[i] != keyed_[i]) list_[static_cast<std::size_t>(++count)] = p;
    }
    if (count == 0) {
        // Nothing differs: the record is written back as it stands.
        step.save = raw_;
        step.message = app::Message{"Data Verification complete. No corrections needed.", "Data Verification.",
                                    app::MsgIcon::None, app::MsgButtons::Ok};
        step.close = true;
        --pos_;
        return step;
    }
    step.message = app::Message{"Data Correction needed. Please correct the following questions.", "Data Corrections",
                                app::MsgIcon::None, app::MsgButtons::Ok};
    correctionPass_ = true;
    count_ = count;
    pos_ = 1;
    return step;
}

}  // namespace kcs::administration
