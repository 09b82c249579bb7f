#include "net/service_answer.h"

#include <charconv>

std::string FormatFixed(double value, int decimals) {
    char text[512];  // enough for any double in fixed notation
    auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "0";
    return std::string(text, end);
}

std::string ServiceFailure(const HttpResponse& response) {
    if (!response.error.empty()) return response.error;
    if (response.status < 200 || response.status > 299) return "HTTP " + std::to_string(response.status);
    return {};
}
