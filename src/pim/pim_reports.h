#pragma once

#include "common/report.h"
#include "data/database.h"

#include <memory>
#include <string>

namespace hrln::pim {

enum class TodoReport {
    Priority,  // grouped by priority, open items before done ones within each
    Category,  // grouped by category, in the order of the texts
};

struct TodoReportOptions {
    std::string category;      // only this category; blank: all
    bool includeDone = true;   // items marked done
};

const char* TodoReportName(TodoReport report);
std::unique_ptr<report::Source> MakeTodoReport(data::Database& db, TodoReport report, TodoReportOptions options);

// The schedule's categories in category order.
std::unique_ptr<report::Source> MakeCategoriesReport(data::Database& db);

// The contacts by last and first name, with their address and notes under each.
struct ContactReportOptions {
    std::string category;  // only this contact category; blank: all
};
std::unique_ptr<report::Source> MakeContactsReport(data::Database& db, ContactReportOptions options);

}  // namespace hrln::pim
