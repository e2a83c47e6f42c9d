#include "script/script_editing.h"

#include "integrity_fixture.h"
#include "support/fake_prompter.h"

namespace hrln::test {
namespace {

using data::ScriptingRecord;
using script::Move;

class ScriptEditingTest : public IntegrityTest {
protected:
    std::int64_t rowOf(data::Long id, data::Long sequence)
    {
        data::Table<ScriptingRecord> t(db);
        t.rec.id = id;
        t.rec.sequence = sequence;
        EXPECT_EQ(t.get(ScriptingRecord::KeyID), data::kOk);
        return t.rowId();
    }
    void addItem(data::Long id, data::Long sequence, std::string_view keys)
    {
        ScriptingRecord item;
        item.id = id;
        item.sequence = sequence;
        item.action = "Send Keystrokes";
        item.keystrokes = keys;
        add(item);
    }
    // "Sequence:Keystrokes" of task `id`'s items in script order.
    Strings script(data::Long id)
    {
        Strings out;
        for (const ScriptingRecord& r : scriptItems(id))
            out.push_back(std::to_string(r.sequence) + ":" + r.keystrokes.str());
        return out;
    }
    bool move(data::Long id, data::Long sequence, Move how)
    {
        return script::MoveScriptItem(db, rowOf(id, sequence), how, prompter, std::chrono::milliseconds(50));
    }

    FakePrompter prompter;
};

TEST_F(ScriptEditingTest, DetailsFollowTheAction)
{
    ScriptingRecord r;
    r.action = "Start Program";
    r.command = "xterm";
    r.path = "/tmp";
    EXPECT_EQ(script::ScriptItemDetails(r), "xterm /tmp");
    r.path = "";
    EXPECT_EQ(script::ScriptItemDetails(r), "xterm");

    r = {};
    r.action = "Wait";
    r.secondsToWait = 0;
    r.waitForWindow = "xterm*";
    EXPECT_EQ(script::ScriptItemDetails(r), "xterm*");
    r.secondsToWait = 12;
    EXPECT_EQ(script::ScriptItemDetails(r), "12 seconds xterm*");

    r = {};
    r.action = "DDE (Dynamic Data Exchange)";
    r.ddeType = "Execute";
    r.ddeApplicationName = "org.mpris.MediaPlayer2.vlc";
    r.ddeApplicationTopic = "/org/mpris/MediaPlayer2";
    EXPECT_EQ(script::ScriptItemDetails(r), "Execute org.mpris.MediaPlayer2.vlc /org/mpris/MediaPlayer2");
    // Three fields of 80 do not fit the column: cut at its width.
    r.ddeApplicationName = std::string(80, 'n');
    EXPECT_EQ(script::ScriptItemDetails(r).size(), 80U);

    r = {};
    r.action = "If Time Elapsed...";
    r.timeElapsed = 86400;
    EXPECT_EQ(script::ScriptItemDetails(r), "86400 seconds");
    r.action = "Close Program";
    r.keystrokes = "ignored";
    EXPECT_EQ(script::ScriptItemDetails(r), "");
}

TEST_F(ScriptEditingTest, NewItemsAreNumberedAfterTheLastWithTheirDefaultsAndAPlaceholderThatCancelRemoves)
{
    addTask(5);
    addTask(6, "Work", 2);
    EXPECT_EQ(script::NextSequence(db, 5), 1);
    addItem(6, 7, "");
    EXPECT_EQ(script::NextSequence(db, 6), 8);

    data::Table<ScriptingRecord> table(db);
    pim::RecordWarnings warnings(prompter);
    {
        pim::RecordForm<ScriptingRecord> form(table, warnings, pim::Request::Insert,
                                              script::ScriptingFormRules(5, nullptr));
        ASSERT_TRUE(form.open());
        EXPECT_EQ(form.title(), "Adding Scripting");
        EXPECT_EQ(table.rec.id, 5);
        EXPECT_EQ(table.rec.sequence, 1);
        EXPECT_EQ(table.rec.action, "Send Keystrokes");
        EXPECT_EQ(table.rec.windowExistance, "Window Exists");
        EXPECT_EQ(table.rec.ifTimeElapsed, "Greater Than");
        EXPECT_EQ(table.rec.timeElapsed, 86400);
        table.rec.keystrokes = "first";
        EXPECT_TRUE(form.complete().close);
    }
    {
        pim::RecordForm<ScriptingRecord> form(table, warnings, pim::Request::Insert,
                                              script::ScriptingFormRules(5, nullptr));
        ASSERT_TRUE(form.open());
        EXPECT_EQ(table.rec.sequence, 2);
        // The placeholder holds its number while the form is open, but no list shows it.
        EXPECT_EQ(script(5), (Strings{"1:first"}));
        EXPECT_EQ(script::NextSequence(db, 5), 3);
        form.cancel();
    }
    EXPECT_EQ(script(5), (Strings{"1:first"}));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScriptEditingTest, WorkingFieldsGoIntoTheFieldsTheActionReuses)
{
    ScriptingRecord wait;
    wait.action = "Wait";
    ASSERT_TRUE(script::StoreWorkingFields(wait, {"Or", "", "", ""}, prompter));
    EXPECT_EQ(wait.ddeApplicationName, "Or");
    wait.ddeApplicationName = "And more";
    EXPECT_EQ(script::LoadWorkingFields(wait).combination, "And");

    ScriptingRecord message;
    message.action = "Display Message";
    ASSERT_TRUE(script::StoreWorkingFields(message, {"", "T", "M", ""}, prompter));
    EXPECT_EQ(message.ddeApplicationName, "M");
    EXPECT_EQ(message.ddeApplicationTopic, "T");
    const script::WorkingFields loaded = script::LoadWorkingFields(message);
    EXPECT_EQ(loaded.messageTitle, "T");
    EXPECT_EQ(loaded.messageText, "M");
    EXPECT_EQ(loaded.combination, "");

    // A keystroke item keeps whatever stands in the reused fields.
    ScriptingRecord keys;
    keys.action = "Send Keystrokes";
    keys.ddeApplicationName = "kept";
    ASSERT_TRUE(script::StoreWorkingFields(keys, {"Or", "T", "M", ""}, prompter));
    EXPECT_EQ(keys.ddeApplicationName, "kept");

    ScriptingRecord other;
    other.action = "Beep Twice";
    EXPECT_EQ(script::LoadWorkingFields(other).otherAction, "Beep Twice");
    other.action = "Other";
    EXPECT_FALSE(script::StoreWorkingFields(other, {"", "", "", "  "}, prompter));
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].text, "\"Other\" script item not recorded correctly.  Re-enter.");
    EXPECT_EQ(prompter.shown[0].caption, "Error");
    ASSERT_TRUE(script::StoreWorkingFields(other, {"", "", "", "Beep Twice"}, prompter));
    EXPECT_EQ(other.action, "Beep Twice");
}

TEST_F(ScriptEditingTest, TaskZeroCannotBeAttached)
{
    ScriptingRecord item;
    EXPECT_FALSE(script::CheckItemTask(item, prompter));
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].text, "Unable to attach script to scheduled item.");
    EXPECT_EQ(prompter.shown[0].caption, "Internal Error");
    item.id = 3;
    EXPECT_TRUE(script::CheckItemTask(item, prompter));
}

TEST_F(ScriptEditingTest, UpAndDownExchangeNeighboursAndGiveTheFreeNumberUp)
{
    addTask(1);
    addTask(2, "Work", 3);
    addItem(1, 1, "a");
    addItem(1, 2, "b");
    addItem(1, 3, "c");

    ASSERT_TRUE(move(1, 2, Move::Up));
    EXPECT_EQ(script(1), (Strings{"1:b", "2:a", "3:c"}));
    EXPECT_EQ(script::NextSequence(db, 1), 4);  // the temporary number is not left behind

    ASSERT_TRUE(move(1, 2, Move::Down));
    EXPECT_EQ(script(1), (Strings{"1:b", "2:c", "3:a"}));
    // At either end there is nothing to exchange.
    ASSERT_TRUE(move(1, 1, Move::Up));
    ASSERT_TRUE(move(1, 3, Move::Down));
    EXPECT_EQ(script(1), (Strings{"1:b", "2:c", "3:a"}));
    EXPECT_EQ(items(), (Strings{"1.1", "1.2", "1.3", "2.1", "2.2", "2.3"}));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScriptEditingTest, TopAndBottomKeepTheOthersInOrder)
{
    addTask(1);
    addTask(2, "Work", 1);
    for (int i = 1; i <= 4; ++i)
        addItem(1, i, std::string(1, static_cast<char>('a' + i - 1)));

    // One write below the first number, whatever the length of the script.
    ASSERT_TRUE(move(1, 3, Move::Top));
    EXPECT_EQ(script(1), (Strings{"0:c", "1:a", "2:b", "4:d"}));
    ASSERT_TRUE(move(1, 0, Move::Bottom));
    EXPECT_EQ(script(1), (Strings{"1:a", "2:b", "4:d", "5:c"}));
    ASSERT_TRUE(move(1, 4, Move::Top));
    EXPECT_EQ(script(1), (Strings{"0:d", "1:a", "2:b", "5:c"}));
    ASSERT_TRUE(move(1, 5, Move::Top));
    EXPECT_EQ(script(1), (Strings{"-1:c", "0:d", "1:a", "2:b"}));
    EXPECT_EQ(items(), (Strings{"1.-1", "1.0", "1.1", "1.2", "2.1"}));
    // An item added after them still comes last.
    addItem(1, script::NextSequence(db, 1), "e");
    EXPECT_EQ(script(1).back(), "3:e");
}

TEST_F(ScriptEditingTest, AMoveWhileAnotherStationWritesFailsWithTheSwapMessageAndChangesNothing)
{
    addTask(1);
    addItem(1, 1, "a");
    addItem(1, 2, "b");
    data::Database& other = station();
    ASSERT_EQ(other.begin(), data::kOk);

    EXPECT_FALSE(move(1, 2, Move::Up));
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].caption, "Error!");
    const std::string& text = prompter.shown[0].text;
    EXPECT_EQ(text.rfind("Record swap error: \n", 0), 0U) << text;
    EXPECT_NE(text.find("\nScripting, SCR:KeyID\nKey Field SCR:ID = 1\nKey Field SCR:Sequence = 2\nSection = Get Orig"),
              std::string::npos)
        << text;
    ASSERT_EQ(other.rollback(), data::kOk);
    EXPECT_EQ(script(1), (Strings{"1:a", "2:b"}));

    // Once the other station is done, the same move goes through.
    ASSERT_TRUE(move(1, 2, Move::Up));
    EXPECT_EQ(script(1), (Strings{"1:b", "2:a"}));
}

}  // namespace
}  // namespace hrln::test
