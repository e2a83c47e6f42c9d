#include "exchange/calendar_times.h"

namespace hrln::exchange::ical {
namespace {

constexpr std::int64_t kDaySeconds = 86'400;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The wall-clock reading `seconds` after 1970-01-01 00:00.
std::optional<Moment> WallOf(std::int64_t seconds)
{
    const std::int64_t days = FloorDiv(seconds, kDaySeconds);
    const std::int64_t rest = seconds - days * kDaySeconds;
    const std::int64_t date = MakeDate(1, 1, 1970) + days;
    if (date < 1 || date > kLastDate)
        return std::nullopt;
    const int s = static_cast<int>(rest);
    return Moment{static_cast<Date>(date), MakeTime(s / 3600, s / 60 % 60, s % 60)};
}

}  // namespace

std::strong_ordering Compare(const Moment& a, const Moment& b)
{
    if (a.date != b.date)
        return a.date <=> b.date;
    // A date alone is the start of its day.
    const Time ta = a.time > 0 ? (a.time - 1) / 100 : 0;
    const Time tb = b.time > 0 ? (b.time - 1) / 100 : 0;
    return ta <=> tb;
}

LocalTimes::LocalTimes(const platform::Clock& clock) : clock_(clock)
{
    const platform::ZonedDateTime zoned = clock.zonedNow();
    now_ = {zoned.local.date, zoned.local.time};
    nowOffset_ = zoned.utcOffset;
}

bool LocalTimes::Zoned(const icaltimetype& t)
{
    return !t.is_date && (icaltime_is_utc(t) || t.zone != nullptr);
}

std::optional<Moment> LocalTimes::fromUtc(std::int64_t utcSeconds) const
{
    // The clock gives the offsets in force at a wall-clock reading, so the
    // reading is found from a guess at the offset: a guess is right when the
    // reading it gives exists and has that offset. Two corrections suffice
    // for any zone; the loop allows one more.
    int offset = nowOffset_;
    std::optional<Moment> wall;
    for (int i = 0; i < 4; ++i) {
        wall = WallOf(utcSeconds + offset);
        if (!wall)
            return std::nullopt;
        const platform::WallOffsets in = clock_.offsetsAt(wall->date, wall->time);
        const bool skipped = in.before < in.after;  // the hour the clock jumps over
        if (!skipped && (offset == in.before || offset == in.after))
            return wall;
        offset = skipped ? in.after : in.before;
    }
    return wall;
}

std::optional<Moment> LocalTimes::local(const icaltimetype& t) const
{
    if (icaltime_is_null_time(t))
        return std::nullopt;
    if (!Zoned(t))
        return ToMoment(t);
    if (t.zone == nullptr && !icaltime_is_utc(t))
        return std::nullopt;
    if (!ToMoment(t))  // outside the calendar before any zone moves it
        return std::nullopt;
    const icaltimezone* zone = icaltime_is_utc(t) ? icaltimezone_get_utc_timezone() : t.zone;
    return fromUtc(static_cast<std::int64_t>(icaltime_as_timet_with_zone(t, zone)));
}

}  // namespace hrln::exchange::ical
