#pragma once

#include "platform/clock.h"
#include "support/zone_rules.h"

#include <cstdint>
#include <memory>
#include <string>

namespace hrln::test {

// A clock that stands still until the test moves it. It knows no time zone
// until one is pinned: from then on it keeps UTC and shows that zone's wall
// clock, so moving it passes through the hour a change skips or repeats as a
// real clock does.
class FakeClock : public platform::Clock {
public:
    FakeClock() = default;
    FakeClock(Date date, Time time) : current{date, time} {}
    platform::DateTime now() const override { return current; }
    platform::ZonedDateTime zonedNow() const override { return {current, offset_}; }
    platform::WallOffsets offsetsAt(Date date, Time time) const override
    {
        return zone_ ? zone_->offsetsAt(date, time) : platform::WallOffsets{};
    }

    // Pins the zone by its name in the zone database ("Europe/Berlin"); the
    // wall-clock reading stands.
    void pinZone(const std::string& name)
    {
        zone_ = std::make_shared<const ZoneRules>(name);
        set(current.date, current.time);
    }
    // A wall-clock reading; with a zone pinned, one the clock shows twice is
    // its first showing, and one it skips is read with the offset before the
    // change (02:30 then shows as 03:30).
    void set(Date date, Time time)
    {
        current = {date, time};
        if (zone_) {
            utc_ = Wall(date, time) - std::int64_t{zone_->offsetsAt(date, time).before} * 100;
            show();
        }
    }
    // Moves forward by hundredths of a second, carrying into the date.
    void advance(int hundredths)
    {
        if (zone_) {
            utc_ += hundredths;
            show();
            return;
        }
        current.time += hundredths;
        NormalizeDateTime(current.date, current.time);
    }

    platform::DateTime current{MakeDate(1, 1, 2027), MakeTime(9, 0)};

private:
    static constexpr std::int64_t kDay = kTicksPerDay;

    // Hundredths since 1970-01-01 00:00 of the wall clock.
    static std::int64_t Wall(Date date, Time time)
    {
        return (std::int64_t{date} - MakeDate(1, 1, 1970)) * kDay + (time > 0 ? time - 1 : 0);
    }

    void show()
    {
        const std::int64_t seconds = utc_ >= 0 ? utc_ / 100 : -((-utc_ + 99) / 100);
        offset_ = zone_->offsetAt(seconds);
        const std::int64_t wall = utc_ + std::int64_t{offset_} * 100;
        const std::int64_t days = wall >= 0 ? wall / kDay : -((-wall + kDay - 1) / kDay);
        current = {static_cast<Date>(MakeDate(1, 1, 1970) + days), static_cast<Time>(wall - days * kDay + 1)};
    }

    std::shared_ptr<const ZoneRules> zone_;
    std::int64_t utc_ = 0;  // hundredths since 1970-01-01 00:00 UTC, while a zone is pinned
    int offset_ = 0;
};

}  // namespace hrln::test
