#pragma once
// A scoring or report could not be produced because a data file or a client record is
// missing, damaged or outside what the program can hold. The message names the file
// (and line where there is one) or the record and field, so the supervisor knows what
// to replace.

#include <stdexcept>
#include <string>

#include "kcs/common/RunError.h"

namespace kcs::scoring {

class DataError : public std::runtime_error {
public:
    // `where` is a file name or "client record N"; `line` is 0 when no line applies.
    // `number` is the classic run-time error number the fault shows as: 13 "Type
    // mismatch" for a value that is not what the format needs, 62 "Input past end of
    // file" for a file that ends early, 6 "Overflow" for a number too large.
    DataError(std::string where, int line, const std::string& detail, int number = err::TypeMismatch);
    // A data file that could not be opened or read: the file error's own number (53 not
    // found, 70 permission denied, 75 not a regular file, ...) and its description.
    DataError(std::string where, const RunError& fileError);

    const std::string& where() const noexcept { return where_; }
    int line() const noexcept { return line_; }
    const std::string& detail() const noexcept { return detail_; }
    int number() const noexcept { return number_; }

private:
    std::string where_;
    int line_;
    std::string detail_;
    int number_;
};

}  // namespace kcs::scoring
