#include "support/zone_rules.h"

#include <unicode/basictz.h>
#include <unicode/timezone.h>
#include <unicode/ucal.h>

#include <stdexcept>

namespace hrln::test {

struct ZoneRules::Zone {
    std::unique_ptr<icu::BasicTimeZone> rules;
};

ZoneRules::ZoneRules(const std::string& name) : zone_(std::make_unique<Zone>())
{
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(name)));
    icu::UnicodeString id;
    zone->getID(id);
    auto* basic = dynamic_cast<icu::BasicTimeZone*>(zone.get());
    if (basic == nullptr || id == icu::UnicodeString(UCAL_UNKNOWN_ZONE_ID))
        throw std::invalid_argument("no time zone " + name);
    zone.release();
    zone_->rules.reset(basic);
}

ZoneRules::~ZoneRules() = default;

int ZoneRules::offsetAt(std::int64_t utcSeconds) const
{
    std::int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone_->rules->getOffset(static_cast<UDate>(utcSeconds) * 1000.0, false, raw, dst, status);
    return (raw + dst) / 1000;
}

platform::WallOffsets ZoneRules::offsetsAt(Date date, Time time) const
{
    static const Date kEpoch = MakeDate(1, 1, 1970);
    const UDate wall = (static_cast<double>(date - kEpoch) * 86'400.0 + (time > 0 ? (time - 1) / 100 : 0)) * 1000.0;
    const auto reading = [&](UTimeZoneLocalOption option) {
        std::int32_t raw = 0, dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        zone_->rules->getOffsetFromLocal(wall, option, option, raw, dst, status);
        return (raw + dst) / 1000;
    };
    return {reading(UCAL_TZ_LOCAL_FORMER), reading(UCAL_TZ_LOCAL_LATTER)};
}

}  // namespace hrln::test
