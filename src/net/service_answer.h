// Small helpers shared by the service clients.
#pragma once

#include <string>

#include "net/http.h"

// A fixed-point number with a full stop, whatever the process locale says
// (GTK switches to the user's locale, which would put a comma into URLs).
std::string FormatFixed(double value, int decimals);

// Empty when the exchange completed with a 2xx status; otherwise the transport error
// text, or "HTTP %d" when only the status is wrong. A read error at a 2xx status
// counts as a failure too: the body is incomplete.
std::string ServiceFailure(const HttpResponse& response);
