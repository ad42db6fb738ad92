#pragma once
// The system's default printer through CUPS: report pages through Qt's printing support,
// raw jobs through the CUPS library (the old printer port's stand-in). No printer, or a
// printer that refuses the job, is a kcs::RunError with a plain description; the report
// file is never touched here.

#include "kcs/app/Services.h"

namespace kcs::program {

class CupsPrinter : public app::Printer {
public:
    void printPages(const std::string& jobName, const std::vector<std::string>& pages) override;
    void printRaw(const std::string& jobName, const std::string& bytes) override;
};

}  // namespace kcs::program
