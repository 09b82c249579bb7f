// The argument of a clicked desktop notification, handed from the thread that
// received it to the main thread.
#pragma once

#include <string>

namespace platform {
void StoreActivation(const std::string& argument);
std::string TakeActivation();  // returns and clears it
}  // namespace platform
