#pragma once
// A scoring or report could not be produced because a data file or a client record is
// missing, damaged or outside what the program can hold. The message names the file
// (and line where there is one) or the record and field, so the supervisor knows what
// to replace.

#include <stdexcept>
#include <string>

namespace kcs::scoring {

class DataError : public std::runtime_error {
public:
    // `where` is a file name or "client record N"; `line` is 0 when no line applies.
    DataError(std::string where, int line, const std::string& detail);

    const std::string& where() const noexcept { return where_; }
    int line() const noexcept { return line_; }
    const std::string& detail() const noexcept { return detail_; }

private:
    std::string where_;
    int line_;
    std::string detail_;
};

}  // namespace kcs::scoring
