#pragma once
// A grid of text cells: a fixed header row (row 0) that never scrolls, then rows of
// cells each with its own text, background and text colour, a current cell, and a top
// visible row. It shows kVisibleRows rows below the header and scrolls only when told
// (setTopRow): which row to show is the screen's rule, not the grid's. A click on a cell
// is reported; keys are left to the screen.

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

namespace kcs::ui {

class CellGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kVisibleRows = 17;

    explicit CellGrid(QWidget* parent = nullptr);

    // Sets the number of columns and their widths in pixels.
    void setColumnWidths(const std::vector<int>& widths);
    int Cols() const { return static_cast<int>(widths_.size()); }
    // Rows including the header row; new cells are empty, white on black.
    void setRows(int rows);
    int Rows() const { return rows_; }

    void setCell(int row, int col, const QString& text, const QColor& back, const QColor& fore);
    const QString& text(int row, int col) const { return cell(row, col).text; }
    QColor back(int row, int col) const { return cell(row, col).back; }
    QColor fore(int row, int col) const { return cell(row, col).fore; }

    void setCurrentCell(int row, int col);
    int Row() const { return row_; }
    int Col() const { return col_; }
    // The first row shown below the header (1 when nothing is scrolled).
    void setTopRow(int row);
    int TopRow() const { return topRow_; }
    bool rowIsVisible(int row) const { return row >= topRow_ && row < topRow_ + kVisibleRows; }

    int rowHeight() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void cellClicked(int row, int col);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Cell {
        QString text;
        QColor back = Qt::white;
        QColor fore = Qt::black;
    };
    Cell& cell(int row, int col) { return cells_.at(static_cast<std::size_t>(row * Cols() + col)); }
    const Cell& cell(int row, int col) const { return cells_.at(static_cast<std::size_t>(row * Cols() + col)); }
    // The row and column under a point, -1 where there is none.
    int rowAt(int y) const;
    int colAt(int x) const;

    std::vector<int> widths_;
    std::vector<Cell> cells_;
    int rows_ = 0;
    int row_ = 0;
    int col_ = 0;
    int topRow_ = 1;
};

}  // namespace kcs::ui
