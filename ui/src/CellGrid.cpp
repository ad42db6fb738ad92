#include "kcs/ui/CellGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <numeric>

#include "kcs/ui/ScreenConventions.h"

namespace kcs::ui {

CellGrid::CellGrid(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CellGrid::setColumnWidths(const std::vector<int>& widths) {
    const int rows = rows_;
    widths_ = widths;
    rows_ = 0;
    cells_.clear();
    setRows(rows);
    updateGeometry();
}

void CellGrid::setRows(int rows) {
    rows_ = std::max(0, rows);
    cells_.resize(static_cast<std::size_t>(rows_ * Cols()));
    row_ = std::min(row_, std::max(0, rows_ - 1));
    topRow_ = std::clamp(topRow_, 1, std::max(1, rows_ - 1));
    update();
}

void CellGrid::setCell(int row, int col, const QString& text, const QColor& back, const QColor& fore) {
    Cell& c = cell(row, col);
    if (c.text == text && c.back == back && c.fore == fore) return;
    c = Cell{text, back, fore};
    if (row == 0 || rowIsVisible(row)) update();
}

void CellGrid::setCurrentCell(int row, int col) {
    row_ = std::clamp(row, 0, std::max(0, rows_ - 1));
    col_ = std::clamp(col, 0, std::max(0, Cols() - 1));
    update();
}

void CellGrid::setTopRow(int row) {
    const int top = std::clamp(row, 1, std::max(1, rows_ - 1));
    if (top == topRow_) return;
    topRow_ = top;
    update();
}

int CellGrid::rowHeight() const {
    return std::max(fontMetrics().height() + 4, twipsToPixels(240, this));
}

QSize CellGrid::sizeHint() const {
    const int width = std::accumulate(widths_.begin(), widths_.end(), 0);
    return {width + 2, (kVisibleRows + 1) * rowHeight() + 2};
}

int CellGrid::rowAt(int y) const {
    const int band = (y - 1) / rowHeight();
    if (y < 1 || band > kVisibleRows) return -1;
    const int row = band == 0 ? 0 : topRow_ + band - 1;
    return row < rows_ ? row : -1;
}

int CellGrid::colAt(int x) const {
    int left = 1;
    for (int c = 0; c < Cols(); ++c) {
        left += widths_[static_cast<std::size_t>(c)];
        if (x < left) return c;
    }
    return -1;
}

void CellGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    const int h = rowHeight();
    const QColor line = palette().color(QPalette::Mid);
    auto paintRow = [&](int row, int y) {
        int x = 1;
        for (int c = 0; c < Cols(); ++c) {
            const int w = widths_[static_cast<std::size_t>(c)];
            const QRect r(x, y, w, h);
            const Cell& cl = cell(row, c);
            if (row == 0) {
                QStyleOptionHeader header;
                header.initFrom(this);
                header.rect = r;
                header.text = cl.text;
                header.textAlignment = Qt::AlignCenter;
                p.save();  // the style may leave its own clip and pens behind
                style()->drawControl(QStyle::CE_Header, &header, &p, this);
                p.restore();
            } else {
                p.fillRect(r, cl.back);
                p.setPen(cl.fore);
                p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignVCenter | (c == 0 ? Qt::AlignLeft : Qt::AlignHCenter),
                           cl.text);
                p.setPen(line);
                p.drawRect(r.adjusted(0, 0, -1, -1));
            }
            if (row == row_ && c == col_ && hasFocus()) {
                QPen focus(palette().color(QPalette::Text));
                focus.setStyle(Qt::DotLine);
                p.setPen(focus);
                p.drawRect(r.adjusted(1, 1, -2, -2));
            }
            x += w;
        }
    };
    // Room to the right of the columns shows where the rows in view lie among them all.
    const int columnsRight = 1 + std::accumulate(widths_.begin(), widths_.end(), 0);
    if (width() - columnsRight > 4 && rows_ > 1) {
        const QRect track(columnsRight + 2, 1 + h, width() - columnsRight - 4, kVisibleRows * h);
        p.fillRect(track, palette().color(QPalette::Mid));
        const double all = rows_ - 1;
        const int top = track.top() + static_cast<int>(track.height() * (topRow_ - 1) / all);
        const int shown = static_cast<int>(track.height() * std::min(1.0, kVisibleRows / all));
        p.fillRect(QRect(track.left(), top, track.width(), std::max(4, shown)), palette().color(QPalette::Dark));
    }
    if (rows_ > 0) paintRow(0, 1);
    for (int band = 0; band < kVisibleRows; ++band) {
        const int row = topRow_ + band;
        if (row >= rows_) break;
        paintRow(row, 1 + (band + 1) * h);
    }
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CellGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const int row = rowAt(event->position().toPoint().y());
    const int col = colAt(event->position().toPoint().x());
    if (row > 0 && col >= 0) emit cellClicked(row, col);
}

}  // namespace kcs::ui
