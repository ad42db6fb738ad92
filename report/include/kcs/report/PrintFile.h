#pragma once
// A fixed-width 8-bit text being composed line by line: CR LF line ends, columns counted
// from 1, and the column moves of a line printer (pad to a column; a column already
// passed is reached on the next line).

#include <string>
#include <string_view>

namespace kcs::report {

class PrintFile {
public:
    PrintFile& text(std::string_view s);
    // Seven spaces and so on; used for margins at the start of a line.
    PrintFile& spaces(int n);
    // Pads to column n. When the line already stands past n the text continues on a new
    // line at column n, as a printer's tab does.
    PrintFile& column(int n);
    // A number field: sign position (blank for 0 and up), digits, one trailing space.
    PrintFile& number(long value);
    PrintFile& endLine();
    // A line holding only a form feed, the page break.
    PrintFile& formFeedLine();

    int currentColumn() const { return column_; }
    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
    int column_ = 1;
};

}  // namespace kcs::report
