#include "shell/product.h"
#include "tallyglass_version.h"

namespace tallyglass {

// Compiled into each program with its own configured version header, so that
// the upgrade test's newer clock differs from the clock in this one file and the
// version resource alone.
const char* ProductVersion() { return TALLYGLASS_VERSION; }

}  // namespace tallyglass
