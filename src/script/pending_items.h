#pragma once

#include "common/date_time.h"
#include "common/translate.h"
#include "data/records.h"

#include <cstdint>
#include <deque>

namespace hrln::script {

// Action texts that exist only in pending items.
inline constexpr const char* kWaitForProgramEnd = HRLN_TEXT("StoredValue", "Wait for Program End");
inline constexpr const char* kEndMarker = "**End**";

// One queued script item with the moment it becomes due. Run-time values live
// in fields of their own; the copied item keeps its stored values.
struct PendingItem {
    data::ScriptingRecord item;
    Date dueDate = 0;
    Time dueTime = 0;
    std::uint16_t startResult = 0;  // of the task program's start when queued
    // "If Time Elapsed...": start of the script plus the threshold; "Wait" with
    // "Or": when its seconds are up (time 0 until it first comes due); "Wait
    // for Program End": end of the longest wait.
    Date deadlineDate = 0;
    Time deadlineTime = 0;
    long long threshold = 0;  // "If Time Elapsed...": the configured seconds
};

// The items of every running script, in run order. Only the head is ever run.
using PendingItems = std::deque<PendingItem>;

// Adds hundredths of a second (any sign, any size) to a date and time, leaving
// the time within one day.
void AddHundredths(Date& date, Time& time, long long hundredths);

}  // namespace hrln::script
