#include "platform/activation.h"

#include <mutex>

namespace platform {
namespace {
std::mutex& Mutex() {
    static std::mutex m;
    return m;
}
std::string& Pending() {
    static std::string s;
    return s;
}
}  // namespace

void StoreActivation(const std::string& argument) {
    std::lock_guard lock(Mutex());
    Pending() = argument;
}

std::string TakeActivation() {
    std::lock_guard lock(Mutex());
    std::string out;
    out.swap(Pending());
    return out;
}
}  // namespace platform
