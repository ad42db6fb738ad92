#pragma once
// Sequential reading of the program's 8-bit text files, the two ways they are read:
// delimited fields (separated by commas or line ends, optionally in double quotes) and
// whole lines. Both kinds may be interleaved on one file; a delimited read leaves the
// file at the start of the next field or line. Bytes pass through unchanged.
//
// A fault is either thrown at once as a DataError (loading for a report: the first fault
// stops it) or, once collectFaults() is called, kept and the reading goes on, so a check
// of a whole file can list every fault. A file that ends early always throws.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "kcs/common/RunError.h"
#include "kcs/scoring/DataError.h"

namespace kcs::scoring {

// No data file of the program comes near this; anything larger is not one of them.
inline constexpr std::size_t kMaxTextFileBytes = 1 << 20;

class SequentialFile {
public:
    // Reads the whole file; throws DataError naming it when it is not a regular file,
    // cannot be read, is too large or starts with a byte-order mark.
    explicit SequentialFile(const std::filesystem::path& path);
    // Reads from memory; `name` is used in messages.
    SequentialFile(std::string name, std::string contents);

    // Keeps faults in `sink` instead of throwing them (see above).
    void collectFaults(std::vector<DataError>* sink) { sink_ = sink; }
    // Whether faults are collected: a check of the whole file, not a reading for a report.
    bool collectingFaults() const { return sink_ != nullptr; }

    // Next delimited field as text: a quoted field is taken between its quotes (anything
    // after the closing quote up to the delimiter is dropped, or is a fault when
    // `refuseTextAfterQuote`); an unquoted one has its surrounding blanks removed. Empty
    // lines before a field are skipped.
    std::string inputString(bool refuseTextAfterQuote = false);
    // Next delimited field as a 16-bit integer (optional sign, digits, surrounding blanks);
    // anything else is a fault, read as 0.
    std::int16_t inputInteger();
    // Whether the last inputInteger was a fault already (its 0 needs no further check).
    bool lastValueFaulted() const { return valueFaulted_; }
    // The rest of the current line, without its CR, LF or CR LF.
    std::string lineInput();

    // The fields of a group end their line: anything after them on it is a fault
    // ("text after `what`"), and the reading goes on at the next line.
    void endGroup(const std::string& what);
    // Nothing but blank lines may follow `what`, the last thing the file holds.
    void endFile(const std::string& what);
    // A text the report prints as it stands: at most `width` characters and no control
    // bytes, or a fault on `line` calling the text `what`.
    void checkPrintedLine(std::string_view text, int line, std::size_t width, const std::string& what = "the line");

    bool atEnd() const { return pos_ >= data_.size(); }
    // Line number (from 1) the next read starts on.
    int line() const { return line_; }
    // Line number on which the last field or whole line read stood.
    int fieldLine() const { return fieldLine_; }
    const std::string& name() const { return name_; }

    // A fault of the file's content: thrown, or kept when faults are collected.
    void fault(int line, const std::string& detail, int number = err::TypeMismatch) const;
    // The file ends early (62 "Input past end of file"): always thrown.
    [[noreturn]] void fail(const std::string& detail) const;

private:
    void refuseByteOrderMark() const;
    bool atLineEnd() const;
    void consumeLineEnd();
    void skipBlanks();
    std::string readField(bool& quoted, std::string* afterQuote);
    std::string restOfLine();

    std::string name_;
    std::string data_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int fieldLine_ = 1;
    bool atLineStart_ = true;
    bool valueFaulted_ = false;
    std::vector<DataError>* sink_ = nullptr;
};

}  // namespace kcs::scoring
