#include "kcs/administration/AnswerSheetForm.h"

#include <algorithm>
#include <array>

#include "kcs/records/ClientRecord.h"

namespace kcs::administration {

namespace {

constexpr std::array<std::string_view, 6> kLegends = {
    "0=No answer, 1=True, 2=False, Tab=Next grid",
    "0=No answer, 1=Yes, 2=No, Tab=Next grid",
    "0=No answer, 1=1, 2=2,  3=3, 4=4, Tab=Next grid",
    "0=No answer, 1=Rare/Never, 2=Sometimes, 3=Often, 4=Very Often, Tab=Next grid",
    "0=No answer, 1=True, 2=Mostly True, 3=Can't Decide, 4=Mostly False, 5=False, Tab=Next grid",
    "0=No answer, 1=Very Often, 2=Often, 3=Can't Decide, 4=Often, 5=Very Often, Tab=Next grid",
};

}  // namespace

std::vector<BankItem> readBankItems(questionbank::Recordset& table) {
    std::vector<BankItem> items;
    if (table.RecordCount() == 0) return items;
    for (table.MoveFirst(); !table.IsEOF(); table.MoveNext()) {
        const auto id = table.Field("ID");
        items.push_back({id ? std::atoi(id->c_str()) : 0, table.Field("Answer2")});
    }
    return items;
}

int answerTypeOf(const std::optional<std::string>& answer2) {
    const std::string_view a = answer2 ? std::string_view(*answer2) : std::string_view();
    const std::string_view head = a.substr(0, 5);
    if (head == "False") return 0;
    if (head == "Somet") return 3;
    if (head == "Mostl") return 4;
    if (head == "Often") return 5;
    if (a == "No") return 1;
    return 2;
}

int answerColumns(int type) { return type <= 1 ? 2 : type <= 3 ? 4 : 5; }

std::string_view legendOf(int type) { return kLegends.at(static_cast<std::size_t>(type)); }

int SheetGrid::widthTwips() const {
    const int answers = answerColumns(type);
    return answers == 2 ? 1120 : answers == 4 ? 1550 : 1750;
}

std::vector<int> SheetGrid::columnTwips() const {
    std::vector<int> widths(static_cast<std::size_t>(columns()), 200);
    widths.front() = 425;
    return widths;
}

std::vector<std::string> SheetGrid::headers() const {
    std::vector<std::string> h{"Num"};
    for (int c = 1; c < columns(); ++c) h.push_back(std::to_string(c));
    return h;
}

AnswerSheetForm::AnswerSheetForm(const std::vector<BankItem>& items, std::string_view answers)
    : responses_(answers.substr(0, records::kAnswerCount)) {
    responses_.resize(records::kAnswerCount, '0');
    // One grid per answer type, in the order the types first occur; a type that comes
    // back later in the table joins its grid.
    for (const BankItem& item : items) {
        if (item.id < 1 || item.id > records::kAnswerCount) continue;
        const int type = answerTypeOf(item.answer2);
        auto grid = std::find_if(grids_.begin(), grids_.end(), [type](const SheetGrid& g) { return g.type == type; });
        if (grid == grids_.end()) grid = grids_.insert(grids_.end(), SheetGrid{type, {}});
        grid->items.push_back(item.id);
    }
}

SheetCell AnswerSheetForm::cell(int grid, int row, int col) const {
    const SheetGrid& g = grids_.at(static_cast<std::size_t>(grid));
    if (row == 0) return {g.headers().at(static_cast<std::size_t>(col)), kCellWhite, kCellBlack};
    const int item = g.items.at(static_cast<std::size_t>(row - 1));
    if (col == 0) return {std::to_string(item) + ".", kCellWhite, kCellNavy};
    const bool marked = responses_[static_cast<std::size_t>(item - 1)] == static_cast<char>('0' + col);
    const std::string mark = marked ? "X" : "";
    if (grid == focused_ && row == g.row) return {mark, kCellLightBlue, kCellBlack};
    return marked ? SheetCell{mark, kCellGreen, kCellBlack} : SheetCell{mark, kCellWhite, kCellNavy};
}

void AnswerSheetForm::focusIn(int grid) {
    working_ = grid;
    focused_ = grid;
    scrollIntoView(at(grid));
}

void AnswerSheetForm::focusOut(int grid) {
    if (focused_ == grid) focused_ = -1;
}

void AnswerSheetForm::click(int grid, int row) {
    SheetGrid& g = at(grid);
    if (row < 1 || row > g.lastRow()) return;
    g.row = row;
    g.col = 0;
    working_ = grid;
    scrollIntoView(g);
}

AnswerSheetForm::Effect AnswerSheetForm::keyPress(int grid, char c) {
    const int highest = answerColumns(at(grid).type);
    if (c < '0' || c > '0' + highest) return {true, -1};
    SheetGrid& g = at(grid);
    responses_[static_cast<std::size_t>(g.items.at(static_cast<std::size_t>(g.row - 1)) - 1)] = c;
    const Effect moved = moveOn(grid);
    g.col = 0;
    return moved;
}

AnswerSheetForm::Effect AnswerSheetForm::down(int grid) { return moveOn(grid); }

AnswerSheetForm::Effect AnswerSheetForm::moveOn(int grid) {
    SheetGrid& g = at(grid);
    if (g.row < g.lastRow()) {
        ++g.row;
        scrollIntoView(g);
        return {};
    }
    if (grid < lastGrid()) return goTo(grid + 1, 1);
    return {true, -1};  // the last answer of the sheet: the cursor stays
}

AnswerSheetForm::Effect AnswerSheetForm::up(int grid) {
    SheetGrid& g = at(grid);
    if (g.row > 1) {
        --g.row;
        scrollIntoView(g);
        return {};
    }
    if (grid > 0) return goTo(grid - 1, at(grid - 1).lastRow());
    return {true, -1};
}

AnswerSheetForm::Effect AnswerSheetForm::goTo(int grid, int row) {
    SheetGrid& g = at(grid);
    g.row = row;
    g.col = 0;
    working_ = grid;
    scrollIntoView(g);
    return {false, grid};
}

void AnswerSheetForm::scrollIntoView(SheetGrid& g) {
    const int r = g.row;
    const int n = g.rows();
    if (r >= g.topRow && r < g.topRow + kVisibleRows) return;
    if (r + kVisibleRows - 1 > n) g.topRow = std::max(1, n - kVisibleRows);
    else if (r == 1) g.topRow = 1;
    else g.topRow = r - 1;
}

}  // namespace kcs::administration
