#pragma once
// A report on paper or in a PDF: each report page on a page of its own, in the fixed-pitch
// font "Courier New" at 11.5 points (the system's metric-compatible face stands in for
// it), the lines exactly as the report file holds them.

#include <QByteArray>
#include <QFont>
#include <QString>
#include <string>
#include <vector>

class QPagedPaintDevice;

namespace kcs::menus {

// The report's font at `pointSize`.
QFont reportFont(double pointSize = 11.5);

// Paints `pages` (Windows-1252, lines ended by CR LF) onto `device`, one device page each.
// The line pitch shrinks where a page's lines would not otherwise fit the printable height,
// so one report page never spills onto a second sheet. Throws kcs::RunError when the device
// cannot be painted on.
void paintReportPages(QPagedPaintDevice& device, const std::vector<std::string>& pages);

// The pages as a PDF document titled `title`, US Letter.
QByteArray reportPdf(const std::vector<std::string>& pages, const QString& title);

}  // namespace kcs::menus
