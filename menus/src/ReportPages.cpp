#include "kcs/menus/ReportPages.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "kcs/common/Cp1252.h"
#include "kcs/common/RunError.h"
#include "kcs/report/ReportWriter.h"

namespace kcs::menus {

namespace {

std::vector<QString> linesOf(const std::string& page) {
    std::vector<QString> lines;
    std::size_t start = 0;
    while (start < page.size()) {
        std::size_t end = page.find("\r\n", start);
        if (end == std::string::npos) end = page.size();
        lines.push_back(QString::fromStdString(cp1252ToUtf8(std::string_view(page).substr(start, end - start))));
        start = end + 2;
    }
    return lines;
}

}  // namespace

QFont reportFont(double pointSize) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    return font;
}

void paintReportPages(QPagedPaintDevice& device, const std::vector<std::string>& pages) {
    QPainter painter;
    if (!painter.begin(&device)) throw RunError(err::PrinterError, "The printer could not be started.");
    const QFont font = reportFont();
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), &device);
    const double height = device.height();

    std::vector<std::vector<QString>> split;
    std::size_t mostLines = report::kPageLength;
    for (const auto& page : pages) {
        split.push_back(linesOf(page));
        mostLines = std::max(mostLines, split.back().size());
    }
    const double pitch = std::min(metrics.lineSpacing(), (height - metrics.descent()) / static_cast<double>(mostLines));

    for (std::size_t p = 0; p < split.size(); ++p) {
        if (p > 0 && !device.newPage()) throw RunError(err::PrinterError, "The printer refused a new page.");
        double y = metrics.ascent();
        for (const QString& line : split[p]) {
            painter.drawText(QPointF(0, y), line);
            y += pitch;
        }
    }
    if (!painter.end()) throw RunError(err::PrinterError, "The printer did not take the report.");
}

QByteArray reportPdf(const std::vector<std::string>& pages, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Kestrel Conduct Screening"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                      QMarginsF(0.35, 0.3, 0.35, 0.3), QPageLayout::Inch));
        paintReportPages(pdf, pages);
    }
    return bytes;
}

}  // namespace kcs::menus
