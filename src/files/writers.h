// GPX 1.1 export of one activity and CSV export of a profile's activities,
// built in memory as UTF-8 text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"

inline constexpr const char* kGpx11Namespace = "http://www.topografix.com/GPX/1/1";

// Escapes the double quote, ampersand, less-than and greater-than signs.
std::string XmlEscape(std::string_view text);

// A minimal GPX 1.1 track of the points with times spread along it at
// constant speed over the activity's duration.
std::string GpxDocument(const Activity& activity, const std::vector<LatLon>& points);

// The text in double quotes, inner double quotes doubled.
std::string CsvQuote(std::string_view text);

// Byte-order mark, header and one line of 14 fields per activity, for German
// spreadsheet settings (semicolons, decimal comma).
std::string CsvDocument(const std::vector<const Activity*>& activities);
