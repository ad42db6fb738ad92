#include "kcs/program/RealServices.h"

namespace kcs::program {}  // namespace kcs::program
