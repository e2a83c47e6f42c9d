#include "script/pending_items.h"

namespace hrln::script {

void AddHundredths(Date& date, Time& time, long long hundredths)
{
    // Work from midnight (time 1) so whole days carry in both directions.
    long long sinceMidnight = static_cast<long long>(time) - 1 + hundredths;
    long long days = sinceMidnight / kTicksPerDay;
    sinceMidnight %= kTicksPerDay;
    if (sinceMidnight < 0) {
        sinceMidnight += kTicksPerDay;
        --days;
    }
    date = static_cast<Date>(date + days);
    time = static_cast<Time>(sinceMidnight + 1);
}

}  // namespace hrln::script
