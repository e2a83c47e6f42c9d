#pragma once

#include "common/translate.h"
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "pim/record_form.h"
#include "platform/prompter.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The rules of the script item editor that its windows do not decide: the
// "Details" of a row, the numbering of a new item, the fields some actions
// reuse, and moving an item within its script.
namespace hrln::script {

// The actions a user picks in the editor, in the order it offers them.
// They are stored as written and shown in the user's language.
inline constexpr std::array<std::string_view, 11> kEditorActions{
    HRLN_TEXT("StoredValue", "Send Keystrokes"),    HRLN_TEXT("StoredValue", "Wait"),
    HRLN_TEXT("StoredValue", "Set Focus"),          HRLN_TEXT("StoredValue", "If Window..."),
    HRLN_TEXT("StoredValue", "If Time Elapsed..."), HRLN_TEXT("StoredValue", "...End If"),
    HRLN_TEXT("StoredValue", "Display Message"),    HRLN_TEXT("StoredValue", "Start Program"),
    HRLN_TEXT("StoredValue", "Close Program"),      HRLN_TEXT("StoredValue", "Exit Script"),
    HRLN_TEXT("StoredValue", "DDE (Dynamic Data Exchange)"),
};
// What the editor shows for an item whose action is none of the above.
inline constexpr std::string_view kOtherAction = HRLN_TEXT("StoredValue", "Other");

bool IsEditorAction(std::string_view action);

// The list's "Details" text of an item, at most 80 characters.
std::string ScriptItemDetails(const data::ScriptingRecord& item);

// The number after the last item of task `id` (1 for a task without items).
data::Long NextSequence(data::Database& db, data::Long id);

// Adds the buffer as the task's next item: up to three numbers tried when
// another window takes one first, then `askRetry` decides whether to go on.
int AddItemWithNextSequence(data::Table<data::ScriptingRecord>& table, const std::function<bool()>& askRetry);

// The editor's fields that are stored in fields of other names.
struct WorkingFields {
    std::string combination;   // "And" / "Or" of a "Wait"
    std::string messageTitle;  // of a "Display Message"
    std::string messageText;
    std::string otherAction;   // the action typed when "Other" is chosen
};

WorkingFields LoadWorkingFields(const data::ScriptingRecord& item);
// Writes the working fields into the item for its action. False, after the
// message, when an "Other" item still has no action of its own.
bool StoreWorkingFields(data::ScriptingRecord& item, const WorkingFields& fields, platform::Prompter& prompter);

// Titles, defaults ("Send Keystrokes", "Window Exists", "Greater Than", 86400)
// and the numbered placeholder of the item form, for task `taskId`.
pim::FormRules<data::ScriptingRecord> ScriptingFormRules(data::Long taskId, std::function<bool()> askRetry);

// Whether the item may be attached: false, after "Unable to attach script to
// scheduled item.", for task 0.
bool CheckItemTask(const data::ScriptingRecord& item, platform::Prompter& prompter);

enum class Move { Up, Down, Top, Bottom };

// Moves the item with row id `rowid` within its task's script. Two items
// exchange numbers through a free one, so the unique key never clashes; the
// whole move is one transaction, so another station sees it done or not at
// all. False after the "Record swap error: " message (nothing changed); true
// also when there was nothing to move (first item up, last down).
bool MoveScriptItem(data::Database& db, std::int64_t rowid, Move move, platform::Prompter& prompter,
                    std::chrono::milliseconds wait = std::chrono::seconds(2));

}  // namespace hrln::script
