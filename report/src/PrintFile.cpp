#include "kcs/report/PrintFile.h"

namespace kcs::report {

PrintFile& PrintFile::text(std::string_view s) {
    bytes_.append(s);
    column_ += static_cast<int>(s.size());
    return *this;
}

PrintFile& PrintFile::spaces(int n) {
    if (n > 0) {
        bytes_.append(static_cast<std::size_t>(n), ' ');
        column_ += n;
    }
    return *this;
}

PrintFile& PrintFile::column(int n) {
    if (n < 1) n = 1;
    if (column_ > n) endLine();
    return spaces(n - column_);
}

PrintFile& PrintFile::number(long value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    text(value < 0 ? "-" : " ");
    text(digits);
    return text(" ");
}

PrintFile& PrintFile::endLine() {
    bytes_.append("\r\n");
    column_ = 1;
    return *this;
}

PrintFile& PrintFile::formFeedLine() {
    bytes_.push_back('\f');
    return endLine();
}

}  // namespace kcs::report
