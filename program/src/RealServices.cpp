#include "kcs/program/RealServices.h"

#include "kcs/common/RunError.h"

namespace kcs::program {

namespace {
[[noreturn]] void refuse() {
    throw RunError(err::DeviceUnavailable, "No printer is available.");
}
}  // namespace

void NoPrinter::printPages(const std::string&, const std::vector<std::string>&) { refuse(); }
void NoPrinter::printRaw(const std::string&, const std::string&) { refuse(); }

}  // namespace kcs::program
