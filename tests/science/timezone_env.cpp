// The statistics depend on the local zone: pin it to Europe/Berlin for every
// run of this program, whether started by CTest or by hand.
#include <cstdlib>
#include <ctime>

namespace {
const bool kZonePinned = [] {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    return true;
}();
}  // namespace
