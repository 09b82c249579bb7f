#include "files/writers.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "model/format.h"
#include "model/geometry.h"

std::string XmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '"': out += "&quot;"; break;
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string GpxDocument(const Activity& activity, const std::vector<LatLon>& points) {
    const std::string name = XmlEscape(activity.title.empty() ? SportName(activity.sport) : activity.title);
    std::string out;
    out.reserve(300 + points.size() * 90);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<gpx version=\"1.1\" creator=\"Stridely\" xmlns=\"";
    out += kGpx11Namespace;
    out += "\">\n";
    out += "  <metadata><name>" + name + "</name><time>" + FormatIsoUtc(activity.start) +
           "</time></metadata>\n";
    out += "  <trk>\n";
    out += "    <name>" + name + "</name>\n";
    out += "    <type>" + XmlEscape(SportName(activity.sport)) + "</type>\n";
    out += "    <trkseg>\n";

    // Synthetic times at constant speed. A duration that is negative or not a
    // number would make times run backwards or be undefined; such points all
    // get the start time.
    const double length = TrackLengthKm(points);
    const double duration =
        std::isfinite(activity.durationSec) && activity.durationSec > 0.0 ? activity.durationSec : 0.0;
    double covered = 0.0;
    char line[160];
    for (size_t k = 0; k < points.size(); ++k) {
        if (k > 0) covered += GreatCircleKm(points[k - 1], points[k]);
        double offset = length > 0.0 ? covered * duration / length : 0.0;
        // Whole seconds, truncated; the tiny allowance keeps rounding noise in
        // the ratio from costing a point (the last above all) a full second.
        auto seconds = static_cast<int64_t>(offset + 1e-6);
        std::snprintf(line, sizeof line, "      <trkpt lat=\"%.6f\" lon=\"%.6f\"><time>%s</time></trkpt>\n",
                      points[k].lat, points[k].lon, FormatIsoUtc(activity.start + seconds).c_str());
        out += line;
    }
    out += "    </trkseg>\n";
    out += "  </trk>\n";
    out += "</gpx>\n";
    return out;
}

std::string CsvQuote(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvDocument(const std::vector<const Activity*>& activities) {
    std::string out = "\xEF\xBB\xBF";
    out += "Datum;Uhrzeit;Sportart;Titel;Distanz (km);Dauer;Pace (min/km);Tempo (km/h);Höhenmeter;"
           "Ø Puls;Kalorien;Gefühl;Quelle;Notizen\n";
    for (const Activity* a : activities) {
        if (!a) continue;
        double pace = a->distanceKm > 0.01 ? a->durationSec / a->distanceKm : 0.0;
        double speed = a->durationSec > 0.0 ? a->distanceKm / (a->durationSec / 3600.0) : 0.0;
        out += FormatDate(a->start);
        out += ';';
        out += FormatTimeOfDay(a->start);
        out += ';';
        out += CsvQuote(SportName(a->sport));
        out += ';';
        out += CsvQuote(a->title);
        out += ';';
        out += FormatNumber(a->distanceKm, 2);
        out += ';';
        out += FormatDuration(a->durationSec);
        out += ';';
        out += FormatPace(pace);
        out += ';';
        out += FormatNumber(speed, 1);
        out += ';';
        out += FormatNumber(a->elevationGain, 0);
        out += ';';
        if (a->avgHr != 0) out += std::to_string(a->avgHr);
        out += ';';
        out += FormatNumber(a->calories, 0);
        out += ';';
        out += std::to_string(a->feel);
        out += ';';
        out += a->source;
        out += ';';
        out += CsvQuote(a->notes);
        out += '\n';
    }
    return out;
}
