#pragma once
// Keying a client's 158 answers from a paper answer sheet, without widgets: one grid per
// answer type of the question bank, one row per item, an "X" in the column of the
// item's answer; digits store answers and move on, the arrows walk the rows and from
// grid to grid, and each grid keeps its current row in view by a fixed rule.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kcs/questionbank/QuestionBank.h"

namespace kcs::administration {

// Colours as packed &HBBGGRR values.
inline constexpr std::uint32_t kCellWhite = 0xFFFFFF;
inline constexpr std::uint32_t kCellNavy = 0x800000;
inline constexpr std::uint32_t kCellGreen = 0x00FF00;
inline constexpr std::uint32_t kCellLightBlue = 0xFFFF00;
inline constexpr std::uint32_t kCellBlack = 0x000000;

// Rows a grid shows below its header.
inline constexpr int kVisibleRows = 17;

// One row of the bank's "English" table as the answer sheet needs it.
struct BankItem {
    int id = 0;
    std::optional<std::string> answer2;  // the second choice's wording, nullopt when empty
};

// Every row of the open table, in table order.
std::vector<BankItem> readBankItems(questionbank::Recordset& table);

// The answer type (0 True/False, 1 Yes/No, 2 numbered choices, 3 rating, 4 mostly
// true/false, 5 frequency) from the start of the second choice's wording.
int answerTypeOf(const std::optional<std::string>& answer2);
int answerColumns(int type);
std::string_view legendOf(int type);

struct SheetGrid {
    int type = 0;
    std::vector<int> items;  // row r (from 1) holds item items[r - 1]
    int row = 1;             // current row, kept while the grid does not have the focus
    int col = 0;
    int topRow = 1;          // first row shown below the header

    int rows() const { return static_cast<int>(items.size()) + 1; }  // header row included
    int lastRow() const { return rows() - 1; }
    int columns() const { return answerColumns(type) + 1; }  // the item number column too
    // Widths in twips: the grid's, then each column's.
    int widthTwips() const;
    std::vector<int> columnTwips() const;
    std::vector<std::string> headers() const;  // "Num", "1", "2", ...
};

struct SheetCell {
    std::string text;
    std::uint32_t back;
    std::uint32_t fore;
};

class AnswerSheetForm {
public:
    // Builds the grids from the bank's items and loads the answers from the answer string
    // (character i is item i).
    AnswerSheetForm(const std::vector<BankItem>& items, std::string_view answers);

    const std::vector<SheetGrid>& grids() const { return grids_; }
    int lastGrid() const { return static_cast<int>(grids_.size()) - 1; }
    static std::string label(int grid) { return "Section " + std::to_string(grid + 1); }

    // The grid being worked in, and the one with the keyboard (-1 while it is elsewhere).
    int workingGrid() const { return working_; }
    int focusedGrid() const { return focused_; }

    // What a cell shows: the mark, and the current row lit while its grid has the focus.
    SheetCell cell(int grid, int row, int col) const;
    std::string_view helpLine(int grid) const { return legendOf(grids_.at(static_cast<std::size_t>(grid)).type); }

    // The answers as the record stores them, 158 characters.
    const std::string& answers() const { return responses_; }

    // The keyboard reached a grid, or left it.
    void focusIn(int grid);
    void focusOut(int grid);
    // A cell was clicked: its row becomes the grid's current row.
    void click(int grid, int row);

    // After a key: ring the bell, and where the keyboard goes (-1: it stays).
    struct Effect {
        bool beep = false;
        int focusGrid = -1;
    };
    // A typed character: a digit the grid's columns allow stores the answer and moves on;
    // anything else rings the bell.
    Effect keyPress(int grid, char c);
    Effect up(int grid);
    Effect down(int grid);

private:
    SheetGrid& at(int grid) { return grids_.at(static_cast<std::size_t>(grid)); }
    Effect moveOn(int grid);
    Effect goTo(int grid, int row);
    void scrollIntoView(SheetGrid& g);

    std::vector<SheetGrid> grids_;
    std::string responses_;
    int working_ = 0;
    int focused_ = -1;
};

}  // namespace kcs::administration
