#include "script/script_report.h"

#include "common/text.h"
#include "data/record_pages.h"
#include "data/table.h"
#include "script/script_editing.h"

#include <algorithm>

namespace hrln::script {
namespace {

using data::ScriptingRecord;

// The task's description, or its number when it has none (or is gone).
std::string TaskTitle(data::Database& db, data::Long taskId)
{
    data::Table<data::ScheduleRecord> task(db);
    task.rec.id = taskId;
    if (task.get(data::ScheduleRecord::KeyID) == data::kOk) {
        const std::string description(text::Clip(task.rec.description.view()));
        if (!description.empty())
            return description;
    }
    return "task " + std::to_string(taskId);
}

class ScriptSource : public report::Source {
public:
    ScriptSource(data::Database& db, data::Long taskId)
        : title_("Script for " + TaskTitle(db, taskId)),
          pages_(db, ScriptingRecord::KeyID, {std::int64_t{taskId}})
    {
    }

    std::string name() const override { return title_; }
    // As wide as the script list's columns.
    std::vector<report::Column> columns() const override { return {{"Action", 20}, {"Details", 80}}; }

    int read(std::int64_t first, int n, std::vector<report::Row>& out) override
    {
        return pages_.read(first, n, [&](const ScriptingRecord* record) {
            out.push_back(report::RowOf(record, [](const ScriptingRecord& item) {
                return report::Row{{}, {std::string(text::Clip(item.action.view())), ScriptItemDetails(item)}, {}};
            }));
        });
    }
    int error() const override { return pages_.error(); }

private:
    std::string title_;
    data::RecordPages<ScriptingRecord> pages_;
};

// `line` with each tab spread to the next multiple of eight characters, as a
// text editor shows it, so a user's own notes line up on paper too.
std::string TabsExpanded(const std::string& line)
{
    if (line.find('\t') == std::string::npos)
        return line;
    std::string out;
    std::size_t column = 0;
    for (const char c : line) {
        if (c == '\t') {
            const std::size_t to = (column / 8 + 1) * 8;
            out.append(to - column, ' ');
            column = to;
            continue;
        }
        out += c;
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++column;  // UTF-8 continuation bytes add no character
    }
    return out;
}

class KeyListSource : public report::Source {
public:
    KeyListSource(std::vector<std::string> lines, std::string fileName)
        : lines_(std::move(lines)), fileName_(std::move(fileName))
    {
    }

    std::string name() const override { return "List of Key Abbreviations"; }
    std::vector<report::Column> columns() const override { return {{fileName_, 100}}; }
    bool fixedPitch() const override { return true; }

    int read(std::int64_t first, int n, std::vector<report::Row>& out) override
    {
        const auto size = static_cast<std::int64_t>(lines_.size());
        const std::int64_t begin = std::clamp<std::int64_t>(first, 0, size);
        const std::int64_t end = std::min<std::int64_t>(begin + std::max(n, 0), size);
        for (std::int64_t i = begin; i < end; ++i)
            out.push_back(report::Row{{}, {TabsExpanded(lines_[static_cast<std::size_t>(i)])}, {}});
        return static_cast<int>(end - begin);
    }

private:
    std::vector<std::string> lines_;
    std::string fileName_;
};

}  // namespace

std::unique_ptr<report::Source> MakeScriptReport(data::Database& db, data::Long taskId)
{
    return std::make_unique<ScriptSource>(db, taskId);
}

std::unique_ptr<report::Source> MakeKeyListReport(std::vector<std::string> lines, std::string fileName)
{
    return std::make_unique<KeyListSource>(std::move(lines), std::move(fileName));
}

}  // namespace hrln::script
