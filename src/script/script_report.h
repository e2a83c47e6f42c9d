#pragma once

#include "common/report.h"
#include "data/database.h"
#include "data/records.h"

#include <memory>
#include <string>
#include <vector>

namespace hrln::script {

// The script of task `taskId` as a report: its items in script order with
// the "Action" and "Details" the script list shows, under the task's
// description. The items are read a batch at a time.
std::unique_ptr<report::Source> MakeScriptReport(data::Database& db, data::Long taskId);

// The lines of the key list as they stand, blanks kept, in a fixed-pitch
// look; `fileName` heads the one column.
std::unique_ptr<report::Source> MakeKeyListReport(std::vector<std::string> lines, std::string fileName);

}  // namespace hrln::script
