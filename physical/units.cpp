// The unit conversions are constexpr in units.h; this file gives the library an object of
// its own until the geometry and photometry join it.
#include "physical/units.h"
