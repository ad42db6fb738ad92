#pragma once
// Sequential reading of the program's 8-bit text files, the two ways they are read:
// delimited fields (separated by commas or line ends, optionally in double quotes) and
// whole lines. Both kinds may be interleaved on one file; a delimited read leaves the
// file at the start of the next field or line. Bytes pass through unchanged.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kcs::scoring {

class SequentialFile {
public:
    // Reads the whole file; throws DataError naming it when it cannot be read.
    explicit SequentialFile(const std::filesystem::path& path);
    // Reads from memory; `name` is used in messages.
    SequentialFile(std::string name, std::string contents);

    // Next delimited field as text: a quoted field is taken between its quotes (anything
    // after the closing quote up to the delimiter is dropped); an unquoted one has its
    // surrounding blanks removed. Empty lines before a field are skipped.
    std::string inputString();
    // Next delimited field as a 16-bit integer (optional sign, digits, surrounding blanks).
    std::int16_t inputInteger();
    // The rest of the current line, without its CR, LF or CR LF.
    std::string lineInput();

    bool atEnd() const { return pos_ >= data_.size(); }
    // Line number (from 1) the next read starts on.
    int line() const { return line_; }
    // Line number on which the last delimited field stood.
    int fieldLine() const { return fieldLine_; }
    const std::string& name() const { return name_; }

    [[noreturn]] void fail(const std::string& detail) const;
    [[noreturn]] void failAt(int line, const std::string& detail) const;

private:
    bool atLineEnd() const;
    void consumeLineEnd();
    void skipBlanks();
    std::string readField(bool& quoted);

    std::string name_;
    std::string data_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int fieldLine_ = 1;
};

}  // namespace kcs::scoring
