#include "script/script_file.h"

#include "common/input_file.h"
#include "common/text.h"
#include "data/errors.h"
#include "pim/record_warnings.h"
#include "script/script_editing.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <limits>

namespace hrln::script {
namespace {

using data::ScriptingRecord;

constexpr std::size_t kTypeWidth = 27;
constexpr std::size_t kValueWidth = 80;

// The record fields that travel in a line's value positions.
enum class Field {
    None,
    Keystrokes,
    SecondsToWait,
    WaitForWindow,
    FocusOnWindow,
    WindowExistance,
    WindowTitleToCheckFor,
    IfTimeElapsed,
    TimeElapsed,
    DdeType,
    DdeApplicationName,
    DdeApplicationTopic,
    DdeLinkItem,
    DdeCommand,
    Command,
    Path,
};

struct Mapping {
    std::string_view type;
    std::array<Field, 5> fields;
};

// "Exit Script" has no line.
constexpr std::array<Mapping, 10> kMappings{{
    {"Close Program", {}},
    {"Display Message", {Field::DdeApplicationName, Field::DdeApplicationTopic}},
    {"Start Program", {Field::Command, Field::Path, Field::DdeApplicationName, Field::TimeElapsed}},
    {"Send Keystrokes", {Field::Keystrokes}},
    {"DDE (Dynamic Data Exchange)",
     {Field::DdeType, Field::DdeApplicationName, Field::DdeApplicationTopic, Field::DdeLinkItem, Field::DdeCommand}},
    {"Set Focus", {Field::FocusOnWindow}},
    {"Wait", {Field::SecondsToWait, Field::WaitForWindow, Field::DdeApplicationName}},
    {"If Window...", {Field::WindowExistance, Field::WindowTitleToCheckFor}},
    {"If Time Elapsed...", {Field::IfTimeElapsed, Field::TimeElapsed}},
    {"...End If", {}},
}};

const Mapping* FindMapping(std::string_view type)
{
    for (const Mapping& m : kMappings)
        if (m.type == text::Clip(type))
            return &m;
    return nullptr;
}

// Applies `f` to the text field behind `field` (nothing for a number or none).
template <class R, class F>
void WithText(R& r, Field field, F&& f)
{
    switch (field) {
    case Field::Keystrokes: f(r.keystrokes); break;
    case Field::WaitForWindow: f(r.waitForWindow); break;
    case Field::FocusOnWindow: f(r.focusOnWindow); break;
    case Field::WindowExistance: f(r.windowExistance); break;
    case Field::WindowTitleToCheckFor: f(r.windowTitleToCheckFor); break;
    case Field::IfTimeElapsed: f(r.ifTimeElapsed); break;
    case Field::DdeType: f(r.ddeType); break;
    case Field::DdeApplicationName: f(r.ddeApplicationName); break;
    case Field::DdeApplicationTopic: f(r.ddeApplicationTopic); break;
    case Field::DdeLinkItem: f(r.ddeLinkItem); break;
    case Field::DdeCommand: f(r.ddeCommand); break;
    case Field::Command: f(r.command); break;
    case Field::Path: f(r.path); break;
    case Field::None:
    case Field::SecondsToWait:
    case Field::TimeElapsed: break;
    }
}

std::string FieldText(const ScriptingRecord& r, Field field)
{
    switch (field) {
    case Field::None: return {};
    case Field::SecondsToWait: return std::to_string(r.secondsToWait);
    case Field::TimeElapsed: return std::to_string(r.timeElapsed);
    default: break;
    }
    std::string out;
    WithText(r, field, [&](const auto& text) { out = text.str(); });
    return out;
}

void SetField(ScriptingRecord& r, Field field, const csv::Fields& fields, std::size_t index)
{
    switch (field) {
    case Field::None: return;
    case Field::SecondsToWait:
    case Field::TimeElapsed: {
        const std::int64_t n = std::clamp<std::int64_t>(csv::NumberField(fields, index),
                                                        std::numeric_limits<data::Long>::min(),
                                                        std::numeric_limits<data::Long>::max());
        (field == Field::SecondsToWait ? r.secondsToWait : r.timeElapsed) = static_cast<data::Long>(n);
        return;
    }
    default: break;
    }
    const std::string value = csv::TextField(fields, index, kValueWidth);
    WithText(r, field, [&](auto& text) { text = value; });  // cut to the field's own width
}

void Report(platform::Prompter& prompter, const std::string& text)
{
    prompter.ask({text, "Error!", platform::MessageIcon::Exclamation});
}

// The standard message of a file that could not be opened.
void ReportOpen(platform::Prompter& prompter, const std::string& path, const std::string& reason)
{
    prompter.ask({"File (" + path + ") could not be opened.  Error: " + reason + ".", "File Access Error",
                  platform::MessageIcon::Information});
}

std::string SystemError()
{
    const int code = errno;
    return code != 0 ? std::string(std::strerror(code)) : std::string("Input/output error");
}

}  // namespace

std::string ScriptFileLine(const ScriptingRecord& item)
{
    const Mapping* m = FindMapping(item.action.view());
    if (m == nullptr)
        return {};
    csv::LineWriter line;
    line.text(m->type);
    for (Field f : m->fields)
        line.text(FieldText(item, f));
    return line.finish();
}

std::string ScriptFileNumberProblem(const csv::Fields& fields)
{
    const Mapping* m = FindMapping(csv::TextField(fields, 0, kTypeWidth));
    if (m == nullptr)
        return {};
    for (std::size_t i = 0; i < m->fields.size(); ++i) {
        const Field f = m->fields[i];
        if (f != Field::SecondsToWait && f != Field::TimeElapsed)
            continue;
        const std::int64_t n = csv::NumberField(fields, i + 1);
        const std::int64_t most = f == Field::SecondsToWait ? kMaxSecondsToWait : kMaxTimeElapsed;
        if (n < 0 || n > most)
            return std::string(f == Field::SecondsToWait ? "seconds to wait " : "time in seconds ") +
                   std::to_string(n) + " is not between 0 and " + std::to_string(most);
    }
    return {};
}

bool ReadScriptFileFields(const csv::Fields& fields, ScriptingRecord& item)
{
    const Mapping* m = FindMapping(csv::TextField(fields, 0, kTypeWidth));
    if (m == nullptr)
        return false;
    item.action = m->type;
    for (std::size_t i = 0; i < m->fields.size(); ++i)
        SetField(item, m->fields[i], fields, i + 1);
    return true;
}

bool ScriptLineReader::next(std::string& line)
{
    line.clear();
    std::streambuf* buf = in_.rdbuf();
    bool any = false;
    for (;;) {
        const int c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in_.setstate(std::ios::eofbit);
            return any;
        }
        any = true;
        ++bytesRead_;
        if (c == '\n')
            return true;
        if (c == '\r') {
            if (buf->sgetc() == '\n') {
                buf->sbumpc();
                ++bytesRead_;
            }
            return true;
        }
        line += static_cast<char>(c);
    }
}

// ExportScript

ExportScriptJob::ExportScriptJob(data::Database& db, data::Long id, std::string path, platform::Prompter& prompter)
    : db_(db), id_(id), path_(std::move(path)), prompter_(prompter), items_(db)
{
}

bool ExportScriptJob::begin()
{
    // Appended to: a file that already holds a script keeps it.
    out_.open(path_, std::ios::binary | std::ios::app);
    if (!out_) {
        ReportOpen(prompter_, path_, SystemError());
        return false;
    }
    items_.clear();
    items_.rec.id = id_;
    items_.rec.sequence = std::numeric_limits<data::Long>::min();
    items_.setFrom(ScriptingRecord::KeyID);
    return true;
}

bool ExportScriptJob::step(int count)
{
    for (int i = 0; i < count; ++i) {
        const int err = items_.next();
        if (err == data::kRecordNotAvailable || (err == data::kOk && items_.rec.id != id_))
            return false;
        if (err != data::kOk) {
            pim::RecordWarnings(prompter_).fetchError(ScriptingRecord::schema().name(), err);
            return false;
        }
        ++done_;
        const std::string line = ScriptFileLine(items_.rec);
        if (line.empty())
            continue;
        errno = 0;
        if (!out_.write(line.data(), static_cast<std::streamsize>(line.size())) || !out_.flush()) {
            Report(prompter_, "Error exporting script item " + SystemError());
            out_.clear();
            continue;
        }
        ++written_;
    }
    return true;
}

void ExportScriptJob::end(bool)
{
    out_.close();
}

// ImportScript

ImportScriptJob::ImportScriptJob(data::Database& db, data::Long id, std::string path, platform::Prompter& prompter)
    : db_(db), id_(id), path_(std::move(path)), prompter_(prompter), kept_(db)
{
}

bool ImportScriptJob::taskStands()
{
    data::Table<data::ScheduleRecord> task(db_);
    task.rec.id = id_;
    if (task.get(data::ScheduleRecord::KeyID) == data::kOk)
        return true;
    taskGone_ = true;
    // Gone meanwhile (another window or station): nothing is added.
    pim::RecordWarnings(prompter_).fetchError(data::ScheduleRecord::schema().name(), data::kRecordNotAvailable);
    return false;
}

bool ImportScriptJob::begin()
{
    // Only a file: a named pipe without a writer would hold the import for ever.
    if (const std::string reason = OpenInputFile(path_, in_, size_); !reason.empty()) {
        ReportOpen(prompter_, path_, reason);
        return false;
    }
    reader_ = std::make_unique<ScriptLineReader>(in_);
    return taskStands();
}

bool ImportScriptJob::step(int count)
{
    // A task removed meanwhile ends the reading at once rather than at the end.
    if (!taskStands())
        return false;
    std::string line;
    for (int i = 0; i < count; ++i) {
        if (!reader_->next(line))
            return false;
        ++lineNumber_;
        item_ = {};
        item_.id = id_;
        const csv::Fields fields = csv::ParseRecord(line);
        // Skipped without a number; said in the summary at the end.
        if (!ReadScriptFileFields(fields, item_)) {
            if (!text::Trim(line).empty())
                skipped_.push_back({lineNumber_, "not an item the script file carries"});
            continue;
        }
        // Taken as it stands or not at all: a number the form cannot show
        // would be changed unseen by the next OK in the form.
        if (std::string problem = ScriptFileNumberProblem(fields); !problem.empty()) {
            skipped_.push_back({lineNumber_, std::move(problem)});
            continue;
        }
        // Numbered when added: the script may grow meanwhile in another window.
        if (const int err = kept_.keep(item_); err != data::kOk)
            Report(prompter_, "Error adding script item " + data::ErrorText(err));
    }
    return true;
}

void ImportScriptJob::end(bool)
{
    if (!taskGone_)
        store();
    kept_.clear();
}

void ImportScriptJob::store()
{
    const std::int64_t count = kept_.count();
    if (kept_.lost()) {
        Report(prompter_, "Error adding script item " + data::ErrorText(data::kFileNotOpen));
        return;
    }
    if (count == 0)
        return;
    // The whole import hangs on this one transaction: another station's write
    // in progress is worth waiting for.
    int err = db_.begin(std::chrono::seconds(5));
    if (err != data::kOk) {
        Report(prompter_, "Error adding script item " + data::ErrorText(err));
        return;
    }
    // Checked within the transaction: no item is attached to a task another
    // station has removed.
    if (!taskStands()) {
        db_.rollback();
        return;
    }
    const data::Long first = NextSequence(db_, id_);
    if (first == 0 || count - 1 > std::numeric_limits<data::Long>::max() - first)
        err = data::kNoNumberLeft;
    if (err == data::kOk)
        err = kept_.moveToTable(data::ScriptingRecord::schema().columnIndex("Sequence"), first);
    if (err == data::kOk)
        err = db_.commit();
    if (err != data::kOk) {
        db_.rollback();
        Report(prompter_, "Error adding script item " + data::ErrorText(err));
        return;
    }
    added_ = static_cast<int>(count);
}

std::string ImportScriptJob::summaryText() const
{
    std::string out = std::to_string(added_) + (added_ == 1 ? " item" : " items") + " added, " +
                      std::to_string(skipped_.size()) + (skipped_.size() == 1 ? " line" : " lines") + " skipped.";
    constexpr std::size_t kListed = 10;
    for (std::size_t i = 0; i < skipped_.size() && i < kListed; ++i)
        out += "\nLine " + std::to_string(skipped_[i].line) + ": " + skipped_[i].reason;
    if (skipped_.size() > kListed)
        out += "\n... and " + std::to_string(skipped_.size() - kListed) + " more";
    return out;
}

int ImportScriptJob::percent() const
{
    return PercentDone(reader_ ? static_cast<std::int64_t>(reader_->bytesRead()) : 0,
                       static_cast<std::int64_t>(size_));
}

}  // namespace hrln::script
