#include "kcs/scoring/TextInput.h"

#include <fstream>
#include <iterator>
#include <limits>

#include "kcs/scoring/DataError.h"

namespace kcs::scoring {

DataError::DataError(std::string where, int line, const std::string& detail)
    : std::runtime_error(where + (line > 0 ? ", line " + std::to_string(line) : std::string()) +
                         ": " + detail),
      where_(std::move(where)), line_(line), detail_(detail) {}

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

SequentialFile::SequentialFile(const std::filesystem::path& path) : name_(path.filename().string()) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DataError(name_, 0, "cannot open " + path.string());
    data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) throw DataError(name_, 0, "cannot read " + path.string());
}

SequentialFile::SequentialFile(std::string name, std::string contents)
    : name_(std::move(name)), data_(std::move(contents)) {}

void SequentialFile::fail(const std::string& detail) const { throw DataError(name_, line_, detail); }
void SequentialFile::failAt(int line, const std::string& detail) const { throw DataError(name_, line, detail); }

bool SequentialFile::atLineEnd() const {
    return pos_ < data_.size() && (data_[pos_] == '\r' || data_[pos_] == '\n');
}

void SequentialFile::consumeLineEnd() {
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

std::string SequentialFile::readField(bool& quoted) {
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
        while (pos_ < data_.size() && data_[pos_] != '"' && data_[pos_] != '\r' && data_[pos_] != '\n') ++pos_;
        if (pos_ >= data_.size() || data_[pos_] != '"') fail("a quoted value has no closing quote");
        field.assign(data_, start, pos_ - start);
        ++pos_;
        // Whatever stands between the closing quote and the delimiter is not part of the value.
        while (pos_ < data_.size() && data_[pos_] != ',' && !atLineEnd()) ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < data_.size() && data_[pos_] != ',' && !atLineEnd()) ++pos_;
        field.assign(data_, start, pos_ - start);
        while (!field.empty() && isBlank(field.back())) field.pop_back();
    }
    if (pos_ < data_.size() && data_[pos_] == ',') {
        ++pos_;
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

std::string SequentialFile::inputString() {
    bool quoted = false;
    return readField(quoted);
}

std::int16_t SequentialFile::inputInteger() {
    bool quoted = false;
    const std::string field = readField(quoted);
    const int startLine = fieldLine_;
    std::size_t i = 0;
    while (i < field.size() && isBlank(field[i])) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    if (i >= field.size()) failAt(startLine, "a whole number was expected, found \"" + field + "\"");
    long value = 0;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c < '0' || c > '9') failAt(startLine, "a whole number was expected, found \"" + field + "\"");
        value = value * 10 + (c - '0');
        if (value > 32768) failAt(startLine, "the number " + field + " is too large");
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        failAt(startLine, "the number " + field + " is too large");
    return static_cast<std::int16_t>(value);
}

std::string SequentialFile::lineInput() {
    if (atEnd()) fail("the file ends before all of its lines were read");
    const std::size_t start = pos_;
    while (pos_ < data_.size() && data_[pos_] != '\r' && data_[pos_] != '\n') ++pos_;
    std::string line(data_, start, pos_ - start);
    consumeLineEnd();
    return line;
}

}  // namespace kcs::scoring
