#include "ui/schedule/agenda_feed.h"

#include "ui/frame/icons.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/typed_entry.h"

#include <QCoreApplication>

namespace hrln::ui {

AgendaFeed::AgendaFeed(data::Database& db, platform::DateTime from, int days) : agenda_(db, from, days) {}

std::vector<RowFeed::Row> AgendaFeed::next(int n)
{
    std::vector<Row> rows;
    for (scheduler::AgendaEntry& e : agenda_.next(n)) {
        const data::ScheduleRecord& task = *e.task;
        Row row;
        row.rowid = e.rowid;
        // An occurrence to be passed over looks as the task flagged to skip does.
        BrowseCell icon;
        icon.icon = ProgramIcon(e.skipped ? QStringLiteral("skip") : QStringLiteral("notdone"));
        icon.spoken = e.skipped ? QCoreApplication::translate("hrln::ui::BrowseScheduleWindow", "Skip Next Time") : QCoreApplication::translate("hrln::ui::BrowseScheduleWindow", "Not done");
        const auto text = [](const QString& t) {
            BrowseCell cell;
            cell.text = t;
            return cell;
        };
        BrowseCell date = text(ShownDate(e.date));
        if (e.skipped)
            date.color = QColor(0, 0, 255);
        row.cells = {icon,
                     date,
                     text(ShownTime(e.time)),
                     text(Text(task.category.str())),
                     text(Text(task.description.str())),
                     text(Text(task.taskType.str())),
                     text(Text(task.scheduleType.str()))};
        rows.push_back(std::move(row));
        given_.push_back(std::move(e));
    }
    return rows;
}

const scheduler::AgendaEntry* AgendaFeed::entryAt(int row) const
{
    return row >= 0 && static_cast<std::size_t>(row) < given_.size() ? &given_[static_cast<std::size_t>(row)] : nullptr;
}

}  // namespace hrln::ui
