#pragma once

#include "data/database.h"
#include "data/stations.h"

#include <cstdint>

namespace hrln::data {

// Removes the placeholders of stations that no longer run (a program killed
// while one of its forms was adding a record), a task with its script and
// links. Those of running stations, of this one, and of a program that had
// no station number stay. kOk, or the first failure: what is left is removed
// by a later call.
int RemoveOrphanPlaceholders(Database& db, Stations& stations, std::int64_t now);

}  // namespace hrln::data
