#pragma once

#include "scheduler/agenda.h"
#include "ui/widgets/browse_model.h"

#include <vector>

namespace hrln::ui {

// The agenda as rows of the schedule browser, in its columns: the status
// icon, "Date" and "Time" of the occurrence, then the task's "Category",
// "Description", "Task Type" and "Schedule Type".
class AgendaFeed : public RowFeed {
public:
    AgendaFeed(data::Database& db, platform::DateTime from, int days);

    std::vector<Row> next(int n) override;
    // The occurrence in row `row` of the rows given so far; null past them.
    const scheduler::AgendaEntry* entryAt(int row) const;
    const scheduler::Agenda& agenda() const { return agenda_; }

private:
    scheduler::Agenda agenda_;
    std::vector<scheduler::AgendaEntry> given_;
};

}  // namespace hrln::ui
