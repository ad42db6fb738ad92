#include "kcs/scoring/TextInput.h"

#include <limits>

#include "kcs/common/DurableFile.h"
#include "kcs/common/Text.h"

namespace kcs::scoring {

DataError::DataError(std::string where, int line, const std::string& detail, int number)
    : std::runtime_error(where + (line > 0 ? ", line " + std::to_string(line) : std::string()) +
                         ": " + detail),
      where_(std::move(where)), line_(line), detail_(detail), number_(number) {}

DataError::DataError(std::string where, const RunError& fileError)
    : DataError(std::move(where), 0, fileError.description(), fileError.number()) {}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string inQuotes(std::string_view bytes) { return "\"" + printable(bytes) + "\""; }

}  // namespace

SequentialFile::SequentialFile(const std::filesystem::path& path) : name_(path.filename().string()) {
    try {
        data_ = readRegularFile(path, kMaxTextFileBytes + 1);
    } catch (const RunError& e) {
        throw DataError(name_, e);
    }
    if (data_.size() > kMaxTextFileBytes)
        throw DataError(name_, 0, path.string() + " is larger than any data file of the program (" +
                                      std::to_string(kMaxTextFileBytes / 1024) + " KB at most)");
    refuseByteOrderMark();
}

SequentialFile::SequentialFile(std::string name, std::string contents)
    : name_(std::move(name)), data_(std::move(contents)) {
    refuseByteOrderMark();
}

void SequentialFile::refuseByteOrderMark() const {
    // An editor that saved the file as Unicode puts these first; read as Windows-1252
    // they would be printed into the report as stray characters.
    std::string_view head(data_);
    if (head.starts_with("\xEF\xBB\xBF") || head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF"))
        throw DataError(name_, 1,
                        "the file starts with a Unicode byte-order mark; the program reads Windows-1252 text, "
                        "so save the file as Windows-1252 (ANSI) text without a byte-order mark");
}

void SequentialFile::fault(int line, const std::string& detail, int number) const {
    DataError e(name_, line, detail, number);
    if (!sink_) throw e;
    sink_->push_back(std::move(e));
}

void SequentialFile::fail(const std::string& detail) const { throw DataError(name_, line_, detail, err::InputPastEnd); }

bool SequentialFile::atLineEnd() const {
    return pos_ < data_.size() && (data_[pos_] == '\r' || data_[pos_] == '\n');
}

void SequentialFile::consumeLineEnd() {
    atLineStart_ = true;
    if (pos_ >= data_.size()) return;
    if (data_[pos_] == '\r') {
        ++pos_;
        if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    } else if (data_[pos_] == '\n') {
        ++pos_;
    }
    ++line_;
}

void SequentialFile::skipBlanks() {
    while (pos_ < data_.size() && isBlank(data_[pos_])) ++pos_;
}

std::string SequentialFile::restOfLine() {
    const std::size_t start = pos_;
    while (pos_ < data_.size() && !atLineEnd()) ++pos_;
    return data_.substr(start, pos_ - start);
}

std::string SequentialFile::readField(bool& quoted, std::string* afterQuote) {
    skipBlanks();
    while (atLineEnd()) {
        consumeLineEnd();
        skipBlanks();
    }
    if (atEnd()) fail("the file ends before all of its values were read");
    fieldLine_ = line_;
    std::string field;
    quoted = data_[pos_] == '"';
    if (quoted) {
        ++pos_;
        const std::size_t start = pos_;
        while (pos_ < data_.size() && data_[pos_] != '"' && !atLineEnd()) ++pos_;
        field.assign(data_, start, pos_ - start);
        if (pos_ < data_.size() && data_[pos_] == '"') {
            ++pos_;
            // Whatever stands between the closing quote and the delimiter is not part of the value.
            const std::size_t rest = pos_;
            while (pos_ < data_.size() && data_[pos_] != ',' && !atLineEnd()) ++pos_;
            if (afterQuote) *afterQuote = data_.substr(rest, pos_ - rest);
        } else {
            fault(line_, "a quoted value has no closing quote");
        }
    } else {
        const std::size_t start = pos_;
        while (pos_ < data_.size() && data_[pos_] != ',' && !atLineEnd()) ++pos_;
        field.assign(data_, start, pos_ - start);
        while (!field.empty() && isBlank(field.back())) field.pop_back();
    }
    if (pos_ < data_.size() && data_[pos_] == ',') {
        ++pos_;
        atLineStart_ = false;
        // A comma closing a line takes the line end with it, so a whole-line read that
        // follows starts on the next line.
        std::size_t look = pos_;
        while (look < data_.size() && isBlank(data_[look])) ++look;
        if (look >= data_.size() || data_[look] == '\r' || data_[look] == '\n') {
            pos_ = look;
            consumeLineEnd();
        }
    } else {
        consumeLineEnd();
    }
    return field;
}

std::string SequentialFile::inputString(bool refuseTextAfterQuote) {
    bool isQuoted = false;
    std::string afterQuote;
    std::string field = readField(isQuoted, &afterQuote);
    while (!afterQuote.empty() && isBlank(afterQuote.back())) afterQuote.pop_back();
    if (refuseTextAfterQuote && !afterQuote.empty())
        fault(fieldLine_, "text after the closing quote of " + inQuotes(field) + ": " + inQuotes(afterQuote));
    return field;
}

std::int16_t SequentialFile::inputInteger() {
    valueFaulted_ = false;
    bool isQuoted = false;
    const std::string field = readField(isQuoted, nullptr);
    const std::string notANumber = "a whole number was expected, found " + inQuotes(field);
    std::size_t i = 0;
    while (i < field.size() && isBlank(field[i])) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    if (i >= field.size()) {
        valueFaulted_ = true;
        fault(fieldLine_, notANumber);
        return 0;
    }
    long value = 0;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c < '0' || c > '9') {
            valueFaulted_ = true;
            fault(fieldLine_, notANumber);
            return 0;
        }
        value = value * 10 + (c - '0');
        if (value > 32768) break;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        valueFaulted_ = true;
        fault(fieldLine_, "the number " + printable(field) + " is too large", err::Overflow);
        return 0;
    }
    return static_cast<std::int16_t>(value);
}

std::string SequentialFile::lineInput() {
    if (atEnd()) fail("the file ends before all of its lines were read");
    fieldLine_ = line_;
    std::string text = restOfLine();
    consumeLineEnd();
    return text;
}

void SequentialFile::endGroup(const std::string& what) {
    if (atLineStart_) return;
    skipBlanks();
    const int line = line_;
    const std::string rest = restOfLine();
    consumeLineEnd();
    if (!rest.empty()) fault(line, "text after " + what + ": " + inQuotes(rest));
}

void SequentialFile::endFile(const std::string& what) {
    endGroup(what);
    while (!atEnd()) {
        // A Ctrl-Z closing the file is how old editors marked its end.
        while (pos_ < data_.size() && (isBlank(data_[pos_]) || data_[pos_] == '\x1A')) ++pos_;
        if (atLineEnd()) {
            consumeLineEnd();
        } else if (!atEnd()) {
            const int line = line_;
            fault(line, "text after " + what + ": " + inQuotes(restOfLine()));
            return;
        }
    }
}

void SequentialFile::checkPrintedLine(std::string_view text, int line, std::size_t width, const std::string& what) {
    if (text.size() > width)
        fault(line, what + " is " + std::to_string(text.size()) + " characters long; at most " +
                        std::to_string(width) + " fit the report's 80 columns");
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            fault(line, what + " holds the control character " + printable(std::string_view(&c, 1)) +
                            ", which a report cannot print");
            return;
        }
    }
}

}  // namespace kcs::scoring
