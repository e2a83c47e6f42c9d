#include "script/script_editing.h"

#include "common/text.h"
#include "data/errors.h"
#include "pim/record_warnings.h"

#include <algorithm>
#include <limits>

namespace hrln::script {
namespace {

using data::Long;
using data::ScriptingRecord;
using Items = data::Table<ScriptingRecord>;

constexpr std::size_t kDetailsWidth = 80;
constexpr Long kLowest = std::numeric_limits<Long>::min();
constexpr Long kHighest = std::numeric_limits<Long>::max();

std::string Joined(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (std::string_view part : parts) {
        if (!out.empty())
            out += ' ';
        out += text::Clip(part);
    }
    return out;
}

// Reads the item of task `id` next to `sequence` (before it, or after it);
// false when there is none.
bool ReadNeighbour(Items& items, Long id, Long sequence, bool before)
{
    items.clear();
    items.rec.id = id;
    if (before) {
        if (sequence == kLowest)
            return false;
        items.rec.sequence = sequence - 1;
        items.setFrom(ScriptingRecord::KeyID);
        return items.previous() == data::kOk && items.rec.id == id;
    }
    if (sequence == kHighest)
        return false;
    items.rec.sequence = sequence + 1;
    items.setFrom(ScriptingRecord::KeyID);
    return items.next() == data::kOk && items.rec.id == id;
}

// The highest number of task `id` plus 1, counted up past numbers taken; 0
// when none is left.
Long FreeSequence(data::Database& db, Long id)
{
    Long free = NextSequence(db, id);
    Items probe(db);
    while (free != 0) {
        probe.clear();
        probe.rec.id = id;
        probe.rec.sequence = free;
        if (probe.get(ScriptingRecord::KeyID) != data::kOk)
            return free;
        free = free == kHighest ? 0 : free + 1;
    }
    return 0;
}

// One move: its tables, its transaction and the failure it reports.
class ItemMove {
public:
    ItemMove(data::Database& db, platform::Prompter& prompter, std::chrono::milliseconds wait)
        : db_(db), prompter_(prompter), wait_(wait), item_(db), other_(db)
    {
    }

    bool run(std::int64_t rowid, Move move)
    {
        // Read first, so that a failure to start names the item.
        if (const int err = item_.reget(ScriptingRecord::KeyID, rowid); err != data::kOk)
            return fail(err, "Get Orig");
        id_ = item_.rec.id;
        sequence_ = item_.rec.sequence;
        const bool own = !db_.inTransaction();
        if (own) {
            if (const int err = db_.begin(wait_); err != data::kOk)
                return fail(err, "Get Orig");
        }
        const bool done = step(move);
        if (!own)
            return done;
        if (!done) {
            db_.rollback();
            return false;
        }
        if (const int err = db_.commit(); err != data::kOk) {
            db_.rollback();
            return fail(err, "Final Put");
        }
        return true;
    }

private:
    bool step(Move move)
    {
        // Again inside the transaction: as it stands now, not as it stood.
        if (const int err = item_.reread(); err != data::kOk)
            return fail(err, "Get Orig");
        id_ = item_.rec.id;
        sequence_ = item_.rec.sequence;
        switch (move) {
        case Move::Up:
        case Move::Down:
            if (!ReadNeighbour(other_, id_, item_.rec.sequence, move == Move::Up))
                return true;
            return swap();
        case Move::Bottom:
            if (!ReadNeighbour(other_, id_, item_.rec.sequence, false))
                return true;
            return moveOut();
        case Move::Top:
            // Below the first item, in one write: numbers below 1 order the
            // script as well, and shifting every item above it one place at a
            // time would take a write per item of a long script.
            if (!ReadNeighbour(other_, id_, kLowest, false) || other_.rowId() == item_.rowId())
                return true;
            if (other_.rec.sequence > kLowest) {
                item_.rec.sequence = other_.rec.sequence - 1;
                return put(item_, "Put Swap Out");
            }
            while (ReadNeighbour(other_, id_, item_.rec.sequence, true)) {
                if (!swap())
                    return false;
            }
            return true;
        }
        return true;
    }

    // The item to a free number above the others.
    bool moveOut()
    {
        const Long free = FreeSequence(db_, id_);
        if (free == 0)
            return fail(data::kNoNumberLeft, "Put Swap Out");
        item_.rec.sequence = free;
        return put(item_, "Put Swap Out");
    }

    // The item and the neighbour in `other_` exchange their numbers.
    bool swap()
    {
        const Long itemSequence = item_.rec.sequence;
        const Long otherSequence = other_.rec.sequence;
        if (!moveOut())
            return false;
        other_.rec.sequence = itemSequence;
        if (!put(other_, "Put Swap"))
            return false;
        if (const int err = item_.reread(); err != data::kOk)
            return fail(err, "Get Orig After");
        item_.rec.sequence = otherSequence;
        return put(item_, "Final Put");
    }

    bool put(Items& items, std::string_view section)
    {
        const int err = items.put();
        return err == data::kOk || fail(err, section);
    }

    bool fail(int error, std::string_view section)
    {
        prompter_.ask({"Record swap error: \n" + data::ErrorText(error) + "\nScripting, SCR:KeyID" +
                           "\nKey Field SCR:ID = " + std::to_string(id_) +
                           "\nKey Field SCR:Sequence = " + std::to_string(sequence_) + "\nSection = " +
                           std::string(section),
                       "Error!", platform::MessageIcon::Exclamation});
        return false;
    }

    data::Database& db_;
    platform::Prompter& prompter_;
    std::chrono::milliseconds wait_;
    Items item_;
    Items other_;
    Long id_ = 0;
    Long sequence_ = 0;
};

}  // namespace

bool IsEditorAction(std::string_view action)
{
    const std::string_view clipped = text::Clip(action);
    return std::find(kEditorActions.begin(), kEditorActions.end(), clipped) != kEditorActions.end();
}

std::string ScriptItemDetails(const ScriptingRecord& item)
{
    const std::string_view action = item.action.view();
    std::string out;
    if (action == "Start Program") {
        out = Joined({item.command.view(), item.path.view()});
    } else if (action == "Send Keystrokes") {
        out = item.keystrokes.str();
    } else if (action == "DDE (Dynamic Data Exchange)") {
        out = Joined({item.ddeType.view(), item.ddeApplicationName.view(), item.ddeApplicationTopic.view()});
    } else if (action == "Set Focus") {
        out = item.focusOnWindow.str();
    } else if (action == "Wait") {
        out = item.secondsToWait == 0 ? item.waitForWindow.str()
                                      : std::to_string(item.secondsToWait) + " seconds " + item.waitForWindow.str();
    } else if (action == "If Window...") {
        out = item.windowTitleToCheckFor.str();
    } else if (action == "If Time Elapsed...") {
        out = std::to_string(item.timeElapsed) + " seconds";
    }
    return std::string(text::Clip(text::CutToWidth(out, kDetailsWidth)));
}

Long NextSequence(data::Database& db, Long id)
{
    Items items(db);
    items.seePlaceholders();  // the number of an item being added in another window is taken
    if (!ReadNeighbour(items, id, kHighest, true)) {
        // The item numbered highest of all is not found by looking below it.
        items.clear();
        items.rec.id = id;
        items.rec.sequence = kHighest;
        return items.get(ScriptingRecord::KeyID) == data::kOk ? 0 : 1;
    }
    return items.rec.sequence == kHighest - 1 ? kHighest : std::max<Long>(items.rec.sequence + 1, 1);
}

int AddItemWithNextSequence(Items& table, const std::function<bool()>& askRetry)
{
    for (;;) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            table.rec.sequence = NextSequence(table.database(), table.rec.id);
            if (table.rec.sequence == 0)
                return data::kNoNumberLeft;
            if (table.add() == data::kOk)
                return data::kOk;
            if (table.error() != data::kDuplicateKey)
                return table.error();
        }
        if (!askRetry || !askRetry())
            return table.error();
    }
}

WorkingFields LoadWorkingFields(const ScriptingRecord& item)
{
    WorkingFields out;
    const std::string_view action = item.action.view();
    if (action == "Wait")
        out.combination = std::string(text::Clip(text::CutToWidth(item.ddeApplicationName.view(), 3)));
    if (action == "Display Message") {
        out.messageText = item.ddeApplicationName.str();
        out.messageTitle = item.ddeApplicationTopic.str();
    }
    if (!IsEditorAction(action))
        out.otherAction = item.action.str();
    return out;
}

bool StoreWorkingFields(ScriptingRecord& item, const WorkingFields& fields, platform::Prompter& prompter)
{
    const std::string_view action = item.action.view();
    if (action == "Wait")
        item.ddeApplicationName = fields.combination;
    if (action == "Display Message") {
        item.ddeApplicationName = fields.messageText;
        item.ddeApplicationTopic = fields.messageTitle;
    }
    if (action == kOtherAction || action.empty()) {
        item.action = text::Trim(fields.otherAction);
        if (item.action.empty() || item.action == kOtherAction) {
            item.action = kOtherAction;
            prompter.ask({"\"Other\" script item not recorded correctly.  Re-enter.", "Error",
                          platform::MessageIcon::Exclamation});
            return false;
        }
    }
    return true;
}

pim::FormRules<ScriptingRecord> ScriptingFormRules(Long taskId, std::function<bool()> askRetry)
{
    pim::FormRules<ScriptingRecord> rules{HRLN_TEXT("FormTitle", "Adding Scripting"),
                                          HRLN_TEXT("FormTitle", "Changing Scripting")};
    rules.defaults = [taskId](ScriptingRecord& item) {
        item.id = taskId;
        item.action = "Send Keystrokes";
        item.windowExistance = "Window Exists";
        item.ifTimeElapsed = "Greater Than";
        item.timeElapsed = 86400;
    };
    rules.keyNames = {{ScriptingRecord::KeyID, "Sequence", 0}};
    rules.placeholder = true;
    rules.addPlaceholder = [askRetry = std::move(askRetry)](Items& table) {
        return AddItemWithNextSequence(table, askRetry);
    };
    return rules;
}

bool CheckItemTask(const ScriptingRecord& item, platform::Prompter& prompter)
{
    if (item.id != 0)
        return true;
    prompter.ask({"Unable to attach script to scheduled item.", "Internal Error", platform::MessageIcon::Stop});
    return false;
}

bool MoveScriptItem(data::Database& db, std::int64_t rowid, Move move, platform::Prompter& prompter,
                    std::chrono::milliseconds wait)
{
    return ItemMove(db, prompter, wait).run(rowid, move);
}

}  // namespace hrln::script
