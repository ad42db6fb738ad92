#include "kcs/program/CupsPrinter.h"

#include <cups/cups.h>

#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

#include "kcs/common/RunError.h"
#include "kcs/menus/ReportPages.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::program {

namespace {

const std::string kNoPrinter = "No printer is set up on this computer, so the report was not printed.";

RunError refused(const std::string& printer, const std::string& reason) {
    return RunError(err::PrinterError, "The printer " + printer + " did not take the report (" + reason + ").");
}

// The hourglass while a job is made, unless the caller already shows it.
struct JobHourglass {
    bool mine = !QGuiApplication::overrideCursor();
    JobHourglass() { ui::MOUSEWAIT(); }
    ~JobHourglass() {
        if (mine) ui::MOUSEDEFAULT();
    }
};

}  // namespace

void CupsPrinter::printPages(const std::string& jobName, const std::vector<std::string>& pages) {
    const QString name = QPrinterInfo::defaultPrinterName();
    if (name.isEmpty()) throw RunError(err::DeviceUnavailable, kNoPrinter);
    JobHourglass wait;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    printer.setDocName(QString::fromStdString(jobName));
    printer.setPageMargins(QMarginsF(0.35, 0.3, 0.35, 0.3), QPageLayout::Inch);
    if (!printer.isValid()) throw refused(name.toStdString(), "it cannot be opened");
    menus::paintReportPages(printer, pages);
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        throw refused(name.toStdString(), "the job failed");
}

void CupsPrinter::printRaw(const std::string& jobName, const std::string& bytes) {
    using Dest = std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)>;
    Dest dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr), [](cups_dest_t* d) { cupsFreeDests(1, d); });
    if (!dest) throw RunError(err::DeviceUnavailable, kNoPrinter);
    JobHourglass wait;
    const std::string name = dest->name;
    std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t*)> info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()),
                                                                 cupsFreeDestInfo);
    if (!info) throw refused(name, cupsLastErrorString());
    int job = 0;
    if (cupsCreateDestJob(CUPS_HTTP_DEFAULT, dest.get(), info.get(), &job, jobName.c_str(), 0, nullptr) !=
        IPP_STATUS_OK)
        throw refused(name, cupsLastErrorString());
    if (cupsStartDestDocument(CUPS_HTTP_DEFAULT, dest.get(), info.get(), job, jobName.c_str(), CUPS_FORMAT_RAW, 0,
                              nullptr, 1) != HTTP_STATUS_CONTINUE ||
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE ||
        cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest.get(), info.get()) != IPP_STATUS_OK) {
        const std::string reason = cupsLastErrorString();
        cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest.get(), job);
        throw refused(name, reason);
    }
}

}  // namespace kcs::program
