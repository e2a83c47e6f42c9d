#include "script/script_file.h"

#include "common/batch_job.h"
#include "data/schedule_store.h"
#include "integrity_fixture.h"
#include "support/fake_prompter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <random>
#include <sstream>

namespace hrln::test {
namespace {

using data::ScriptingRecord;

class ScriptFileTest : public IntegrityTest {
protected:
    std::string file(std::string_view name) { return dir.file(std::string(name)); }
    static void write(const std::string& path, std::string_view bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }
    static std::string read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void run(BatchJob& job, int batch)
    {
        BatchRun r(job, batch);
        ASSERT_TRUE(r.start());
        while (r.running())
            r.tick();
    }
    void exportTo(data::Long id, const std::string& path)
    {
        script::ExportScriptJob job(db, id, path, prompter);
        run(job, script::ExportScriptJob::kBatch);
    }
    void importFrom(data::Long id, const std::string& path)
    {
        script::ImportScriptJob job(db, id, path, prompter);
        run(job, script::ImportScriptJob::kBatch);
    }
    FakePrompter prompter;
};

TEST_F(ScriptFileTest, LinesCarrySixQuotedFieldsByTheActionsMapping)
{
    ScriptingRecord r;
    r.action = "Display Message";
    r.ddeApplicationName = "Say \"hi\", then go";
    r.ddeApplicationTopic = "Title";
    r.keystrokes = "not written";
    EXPECT_EQ(script::ScriptFileLine(r), "\"Display Message\",\"Say \"\"hi\"\", then go\",\"Title\",\"\",\"\",\"\"\r\n");
    r = {};
    r.action = "Start Program";
    r.command = "xterm";
    r.timeElapsed = 86400;
    EXPECT_EQ(script::ScriptFileLine(r), "\"Start Program\",\"xterm\",\"\",\"\",\"86400\",\"\"\r\n");
    r.action = "Exit Script";
    EXPECT_EQ(script::ScriptFileLine(r), "");
}

TEST_F(ScriptFileTest, ExportAppendsAndImportNumbersAfterTheLastItemWithValuesIntact)
{
    addTask(1);
    addTask(2);
    addTask(3, "Work", 7);
    const auto add = [&](ScriptingRecord r) { this->add(r); };
    ScriptingRecord dde;
    dde.id = 1;
    dde.sequence = 1;
    dde.action = "DDE (Dynamic Data Exchange)";
    dde.ddeType = "Execute";
    dde.ddeApplicationName = "org.mpris.MediaPlayer2.vlc";
    dde.ddeApplicationTopic = "/org/mpris/MediaPlayer2";
    dde.ddeLinkItem = "link";
    dde.ddeCommand = "org.mpris.MediaPlayer2.Player.Pause()";
    add(dde);
    ScriptingRecord start;
    start.id = 1;
    start.sequence = 5;
    start.action = "Start Program";
    start.command = "xterm -e \"sh, then\"";
    start.path = "/tmp";
    start.timeElapsed = 86400;
    add(start);
    ScriptingRecord exitItem;
    exitItem.id = 1;
    exitItem.sequence = 6;
    exitItem.action = "Exit Script";
    add(exitItem);

    const std::string path = file("script.hsx");
    exportTo(2, path);  // no items: nothing written, no file content
    EXPECT_EQ(read(path), "");
    exportTo(1, path);
    const std::string once = read(path);
    exportTo(1, path);
    EXPECT_EQ(read(path), once + once);

    importFrom(2, path);
    const auto copied = scriptItems(2);
    ASSERT_EQ(copied.size(), 4U);  // "Exit Script" does not travel
    EXPECT_EQ(copied[0].sequence, 1);
    EXPECT_EQ(copied[3].sequence, 4);
    EXPECT_EQ(copied[0].ddeType, "Execute");
    EXPECT_EQ(copied[0].ddeLinkItem, "link");
    EXPECT_EQ(copied[0].ddeCommand, dde.ddeCommand);
    EXPECT_EQ(copied[1].command, start.command);
    EXPECT_EQ(copied[1].timeElapsed, 86400);

    importFrom(3, path);
    const auto appended = scriptItems(3);
    ASSERT_EQ(appended.size(), 11U);
    EXPECT_EQ(appended[7].sequence, 8);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScriptFileTest, UnknownTypesAreSkippedWithoutANumberAndLongValuesAreCut)
{
    addTask(1);
    const std::string path = file("hand.hsx");
    write(path, "\"send keystrokes\",\"x\"\r\n"
                "\"Send Keystrokes  \",\"" + std::string(100, 'k') + "\"\n"
                "Nonsense\r"
                "\"If Window...\",\"" + std::string(30, 'w') + "\",\"Term*\",\"\",\"\",\"\",\"extra\"\r\n"
                "\"Wait\",\"abc\"");
    importFrom(1, path);
    const auto items = scriptItems(1);
    ASSERT_EQ(items.size(), 3U);
    EXPECT_EQ(items[0].sequence, 1);
    EXPECT_EQ(items[0].keystrokes.str(), std::string(80, 'k'));
    EXPECT_EQ(items[1].sequence, 2);
    EXPECT_EQ(items[1].windowExistance.str(), std::string(20, 'w'));  // its own width
    EXPECT_EQ(items[1].windowTitleToCheckFor, "Term*");
    EXPECT_EQ(items[2].action, "Wait");
    EXPECT_EQ(items[2].secondsToWait, 0);  // not a number
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScriptFileTest, ImportIntoATaskRemovedMeanwhileStopsWithAMessage)
{
    addTask(1);
    const std::string path = file("s.hsx");
    write(path, "\"Close Program\"\r\n\"...End If\"\r\n");
    data::Table<data::ScheduleRecord> task(station());
    task.rec.id = 1;
    ASSERT_EQ(task.get(data::ScheduleRecord::KeyID), data::kOk);
    ASSERT_EQ(task.remove(), data::kOk);
    script::ImportScriptJob job(db, 1, path, prompter);
    BatchRun r(job, script::ImportScriptJob::kBatch);
    EXPECT_FALSE(r.start());
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].caption, "Read Error");
    EXPECT_EQ(prompter.shown[0].text, "Error: (Record Not Available (33)) reading a record of the Schedule file.");
    EXPECT_TRUE(scriptItems(1).empty());
}

TEST_F(ScriptFileTest, ATaskRemovedBetweenBatchesStopsTheImportThere)
{
    addTask(1);
    const std::string path = file("s.hsx");
    std::string lines;
    for (int i = 0; i < 3 * script::ImportScriptJob::kBatch; ++i)
        lines += "\"Close Program\"\r\n";
    write(path, lines);
    script::ImportScriptJob job(db, 1, path, prompter);
    BatchRun r(job, script::ImportScriptJob::kBatch);
    ASSERT_TRUE(r.start());
    r.tick();
    ASSERT_TRUE(r.running());
    EXPECT_TRUE(scriptItems(1).empty());  // read and kept aside, not yet added
    // Another station deletes the task with its script between two batches.
    data::Table<data::ScheduleRecord> task(station());
    task.rec.id = 1;
    ASSERT_EQ(task.get(data::ScheduleRecord::KeyID), data::kOk);
    ASSERT_EQ(data::DeleteTask(task), data::kOk);
    while (r.running())
        r.tick();
    ASSERT_EQ(prompter.shown.size(), 1U);
    EXPECT_EQ(prompter.shown[0].caption, "Read Error");
    EXPECT_TRUE(scriptItems(1).empty());  // nothing attached to the missing task
}

// Random and mutated lines: nothing crashes or hangs, every valid line is
// imported and every other one skipped.
// Numbers the item form cannot hold are not taken, changed or cut: their
// lines are skipped and listed by number with the reason, as are lines of no
// item, in the summary the import gives at its end.
TEST_F(ScriptFileTest, NumbersOutsideTheFormsLimitsSkipTheirLineAndTheSummaryListsThem)
{
    addTask(1);
    const std::string path = file("numbers.hsx");
    write(path, "\"Wait\",\"99999999999\"\r\n"
                "\"Wait\",\"-5\"\r\n"
                "\"Wait\",\"99999\"\r\n"
                "\r\n"
                "Nonsense\r\n"
                "\"Start Program\",\"prog\",\"\",\"\",\"2147483648\"\r\n"
                "\"If Time Elapsed...\",\"Greater Than\",\"2147483647\"\r\n");
    script::ImportScriptJob job(db, 1, path, prompter);
    run(job, script::ImportScriptJob::kBatch);
    const auto items = scriptItems(1);
    ASSERT_EQ(items.size(), 2U);
    EXPECT_EQ(items[0].secondsToWait, 99999);
    EXPECT_EQ(items[1].timeElapsed, 2147483647);
    EXPECT_EQ(items[1].sequence, 2);
    ASSERT_EQ(job.skipped().size(), 4U);
    EXPECT_EQ(job.summaryText(), "2 items added, 4 lines skipped.\n"
                                 "Line 1: seconds to wait 99999999999 is not between 0 and 99999\n"
                                 "Line 2: seconds to wait -5 is not between 0 and 99999\n"
                                 "Line 5: not an item the script file carries\n"
                                 "Line 6: time in seconds 2147483648 is not between 0 and 2147483647");
    EXPECT_TRUE(prompter.shown.empty());  // the window shows the summary, once
}

TEST_F(ScriptFileTest, MangledFilesImportEveryValidLineAndNothingElse)
{
    addTask(1);
    std::mt19937 random(20261209);
    const std::string valid = "\"Send Keystrokes\",\"ok\"";
    std::string content;
    int validLines = 0;
    bool bigDone = false;
    const char* endings[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < 400; ++i) {
        std::string line;
        switch (random() % 6) {
        case 0: line = valid; ++validLines; break;
        case 1: line = "\"Send Keystrokes\",\"unbalanced"; ++validLines; break;  // the quote runs to the line's end
        case 2: line = std::string("\"Wait\",\"1\0\xff\xfe\",\"x\"", 17); ++validLines; break;
        case 3:
            // One line of a megabyte, and more than six fields.
            line = "\"Set Focus\",\"" + std::string(bigDone ? 300 : 1 << 20, 'z') + "\",\"\",\"\",\"\",\"\",\"\",\"\"";
            bigDone = true;
            ++validLines;
            break;
        case 4:
            for (int n = 0; n < 40; ++n) {
                static constexpr char kBytes[] = "\",ab\x80\x01 ";
                line += kBytes[random() % (sizeof kBytes - 1)];
            }
            break;
        default: line = "\"Exit Script\",\"\""; break;
        }
        content += line + endings[random() % 3];
    }
    const std::string path = file("fuzz.hsx");
    write(path, content);
    script::ImportScriptJob job(db, 1, path, prompter);
    BatchRun r(job, script::ImportScriptJob::kBatch);
    ASSERT_TRUE(r.start());
    int ticks = 0;
    while (r.running() && ++ticks < 1000)
        r.tick();
    EXPECT_FALSE(r.running());
    EXPECT_EQ(r.percent(), 100);
    const auto items = scriptItems(1);
    EXPECT_EQ(static_cast<int>(items.size()), validLines);
    for (const ScriptingRecord& item : items)
        EXPECT_LE(item.focusOnWindow.str().size(), 80U);
    EXPECT_EQ(items.empty() ? 0 : items.back().sequence, validLines);
}

// A named pipe with no writer would hold the import for ever: it is refused
// at once, with the system's reason as for any file that cannot be read.
TEST_F(ScriptFileTest, ImportRefusesAPipeOrAFolderWithTheReason)
{
    addTask(1);
    const std::string pipe = file("pipe.hsx");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto begun = std::async(std::launch::async, [&] {
        script::ImportScriptJob job(db, 1, pipe, prompter);
        return job.begin();
    });
    if (begun.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);  // lets the test end
        ADD_FAILURE() << "the import waits on the pipe";
        begun.wait();
        if (writer >= 0)
            ::close(writer);
    }
    EXPECT_FALSE(begun.get());
    script::ImportScriptJob folder(db, 1, dir.path().string(), prompter);
    EXPECT_FALSE(folder.begin());
    ASSERT_EQ(prompter.shown.size(), 2U);
    EXPECT_EQ(prompter.shown[0].text,
              "File (" + pipe + ") could not be opened.  Error: not a regular file (a named pipe).");
    EXPECT_EQ(prompter.shown[0].caption, "File Access Error");
    EXPECT_EQ(prompter.shown[1].text, "File (" + dir.path().string() + ") could not be opened.  Error: Is a directory.");
    EXPECT_TRUE(scriptItems(1).empty());
}

}  // namespace
}  // namespace hrln::test
