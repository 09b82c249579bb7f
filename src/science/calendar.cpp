#include "science/calendar.h"

#include <algorithm>
#include <vector>

#include "model/format.h"

namespace {

constexpr int64_t kDay = 86400;
// Probing step and reach when looking for the next offset change. Offset changes
// lie months apart; two inside one day would go unnoticed.
constexpr int64_t kProbeStep = kDay;
constexpr int64_t kProbeReach = 400 * kDay;
// Outside these years the conversion is left to the library uncached.
constexpr int64_t kCacheLow = -2208988800LL;  // 1900-01-01
constexpr int64_t kCacheHigh = 7258118400LL;  // 2200-01-01

// [lo, hi) in epoch seconds during which the local time is t + offset.
struct OffsetSpan {
    int64_t lo;
    int64_t hi;
    int64_t offset;
};

int64_t OffsetAt(int64_t t) {
    const std::tm tm = LocalTime(t);
    const int64_t local = DaysFromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) * kDay +
                          tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
    return local - t;
}

// First second in (same, other] whose offset differs from `offset`.
int64_t FindChange(int64_t same, int64_t other, int64_t offset) {
    // Invariant: OffsetAt(same) == offset, OffsetAt(other) != offset; works in
    // either direction and returns the boundary on the side of `other`.
    while (same + 1 != other && same - 1 != other) {
        const int64_t mid = same + (other - same) / 2;
        if (OffsetAt(mid) == offset)
            same = mid;
        else
            other = mid;
    }
    return other;
}

OffsetSpan BuildSpan(int64_t t) {
    const int64_t offset = OffsetAt(t);
    OffsetSpan span{t, t + 1, offset};
    // Forward to the next change (or the reach).
    int64_t last = t;
    span.hi = t + kProbeReach;
    for (int64_t p = t + kProbeStep; p <= t + kProbeReach; p += kProbeStep) {
        if (OffsetAt(p) != offset) {
            span.hi = FindChange(last, p, offset);
            break;
        }
        last = p;
    }
    // Backward to the previous change.
    last = t;
    span.lo = t - kProbeReach;
    for (int64_t p = t - kProbeStep; p >= t - kProbeReach; p -= kProbeStep) {
        if (OffsetAt(p) != offset) {
            span.lo = FindChange(last, p, offset) + 1;
            break;
        }
        last = p;
    }
    return span;
}

struct OffsetCache {
    std::vector<OffsetSpan> spans;  // sorted by lo
    size_t last = 0;

    int64_t Offset(int64_t t) {
        if (last < spans.size() && t >= spans[last].lo && t < spans[last].hi)
            return spans[last].offset;
        auto it = std::upper_bound(spans.begin(), spans.end(), t,
                                   [](int64_t v, const OffsetSpan& s) { return v < s.lo; });
        if (it != spans.begin() && t < std::prev(it)->hi) {
            last = static_cast<size_t>(std::prev(it) - spans.begin());
            return spans[last].offset;
        }
        const OffsetSpan span = BuildSpan(t);
        it = spans.insert(it, span);
        last = static_cast<size_t>(it - spans.begin());
        return span.offset;
    }
};

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

int64_t LocalDayNumber(int64_t t) {
    if (t < kCacheLow || t >= kCacheHigh) return DayNumber(t);
    // One cache per thread: no locking, and the zone does not change under a run.
    thread_local OffsetCache cache;
    return FloorDiv(t + cache.Offset(t), kDay);
}

int WeekdayOfDay(int64_t day) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(((day + 3) % 7 + 7) % 7);
}

int64_t WeekStart(int64_t day) { return day - WeekdayOfDay(day); }

int64_t EarliestStartOfDay(int64_t day) { return day * kDay - 2 * kDay; }

int64_t LatestStartOfDay(int64_t day) { return (day + 1) * kDay + 2 * kDay; }
