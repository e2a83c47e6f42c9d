#include "script/script_report.h"

#include "pdf_text.h"
#include "report/page_layout.h"
#include "script/script_editing.h"
#include "store_fixture.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <set>

namespace hrln::test {
namespace {

using data::ScriptingRecord;

const report::Heading kHeading{"Cleo Example", "May 3, 2027 7:15 AM"};

std::string Trimmed(const std::string& s)
{
    const auto b = s.find_first_not_of(' ');
    const auto e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::vector<std::vector<std::string>> Render(report::Source& source, const std::string& pdf)
{
    EXPECT_TRUE(report::WriteReportPdf(source, kHeading, QString::fromStdString(pdf)));
    return PdfPages(pdf);
}

// Every page's title is `name` and its last line "Page N of M"; gives each
// page's lines between the line holding `header` and the page number.
std::vector<std::vector<std::string>> Bodies(const std::vector<std::vector<std::string>>& pages,
                                             const std::string& name, const std::string& header)
{
    std::vector<std::vector<std::string>> out;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const auto& lines = pages[p];
        EXPECT_GE(lines.size(), 3u);
        if (lines.size() < 3)
            continue;
        EXPECT_EQ(Trimmed(lines.front()), name) << "page " << p + 1;
        EXPECT_EQ(Trimmed(lines.back()),
                  "Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size()));
        const auto head = std::find_if(lines.begin(), lines.end(),
                                       [&](const std::string& l) { return l.find(header) != std::string::npos; });
        EXPECT_NE(head, lines.end()) << "no column header on page " << p + 1;
        out.emplace_back(head == lines.end() ? lines.end() : head + 1, lines.end() - 1);
    }
    return out;
}

class ScriptReportTest : public StoreTest {
protected:
    void addTask(data::Long id, std::string_view description)
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = Task(id, MakeDate(5, 3, 2027), MakeTime(8, 0), description);
        ASSERT_EQ(t.add(), data::kOk);
    }
    void addItem(const ScriptingRecord& item)
    {
        data::Table<ScriptingRecord> t(db);
        t.rec = item;
        ASSERT_EQ(t.add(), data::kOk);
    }
};

// One item of each kind the list words differently, numbered `sequence`,
// with what its "Details" must read.
std::pair<ScriptingRecord, std::string> Item(data::Long task, data::Long sequence)
{
    ScriptingRecord r;
    r.id = task;
    r.sequence = sequence;
    const std::string n = std::to_string(sequence);
    switch (sequence % 8) {
    case 0:
        r.action = "Send Keystrokes";
        r.keystrokes = "Keys" + n + " [Enter]";
        return {r, "Keys" + n + " [Enter]"};
    case 1:
        r.action = "Wait";
        r.secondsToWait = static_cast<data::Long>(sequence);
        r.waitForWindow = "Window" + n;
        return {r, n + " seconds Window" + n};
    case 2:
        r.action = "Wait";  // no seconds: only the window
        r.waitForWindow = "Only" + n;
        return {r, "Only" + n};
    case 3:
        r.action = "Start Program";
        r.command = "prog" + n + ".sh";
        r.path = "/opt/app" + n;
        return {r, "prog" + n + ".sh /opt/app" + n};
    case 4:
        r.action = "DDE (Dynamic Data Exchange)";
        r.ddeType = "Execute";
        r.ddeApplicationName = "Server" + n;
        r.ddeApplicationTopic = "Topic" + n;
        return {r, "Execute Server" + n + " Topic" + n};
    case 5:
        r.action = "If Time Elapsed...";
        r.timeElapsed = static_cast<data::Long>(sequence * 10);
        return {r, std::to_string(sequence * 10) + " seconds"};
    case 6:
        r.action = "...End If";
        r.keystrokes = "never shown";
        return {r, ""};
    default:
        // The longest the list shows, wider than its column on paper.
        std::string keys = "Long" + n + " " + std::string(35, 'W') + " ";
        keys += std::string(80 - keys.size(), 'M');
        r.action = "Send Keystrokes";
        r.keystrokes = keys;
        return {r, keys};
    }
}

// Action and details of the printed rows: a line with an action starts a
// row unless the action before it is still being continued on this line.
std::vector<std::pair<std::string, std::string>> Rows(const std::vector<std::vector<std::string>>& bodies,
                                                      std::size_t detailsColumn)
{
    const auto complete = [](const std::string& action) {
        return std::find(script::kEditorActions.begin(), script::kEditorActions.end(), action) !=
               script::kEditorActions.end();
    };
    std::vector<std::pair<std::string, std::string>> rows;
    for (const auto& body : bodies)
        for (const std::string& line : body) {
            const std::string left = Trimmed(line.substr(0, std::min(detailsColumn, line.size())));
            const std::string right = line.size() > detailsColumn ? Trimmed(line.substr(detailsColumn)) : "";
            if (left.empty() && right.empty())
                continue;
            if (!left.empty() && (rows.empty() || complete(rows.back().first))) {
                rows.emplace_back(left, right);
                continue;
            }
            if (rows.empty()) {
                ADD_FAILURE() << "a continued line first: " << line;
                continue;
            }
            auto& [action, details] = rows.back();
            if (!left.empty())
                action += " " + left;
            if (!right.empty())
                details += (details.empty() ? "" : " ") + right;
        }
    return rows;
}

TEST_F(ScriptReportTest, EveryItemOfTheTaskIsPrintedOnceInScriptOrderWithItsDetails)
{
    addTask(7, "Morning backup");
    addTask(8, "Other task");
    std::vector<data::Long> order(150);
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), std::mt19937(42));  // added out of order
    std::vector<std::pair<std::string, std::string>> expected(order.size());
    for (const data::Long sequence : order) {
        auto [item, details] = Item(7, sequence * 3);  // numbering with gaps
        expected[static_cast<std::size_t>(sequence - 1)] = {item.action.str(), details};
        addItem(item);
        ASSERT_EQ(script::ScriptItemDetails(item), details) << "the list's rule changed under the test";
    }
    for (data::Long sequence = 1; sequence <= 5; ++sequence) {
        ScriptingRecord other;
        other.id = 8;
        other.sequence = sequence;
        other.action = "Send Keystrokes";
        other.keystrokes = "ForeignItem";
        addItem(other);
    }

    auto source = script::MakeScriptReport(db, 7);
    const auto pages = Render(*source, dir.file("script.pdf"));
    ASSERT_GE(pages.size(), 3u) << "the test needs page breaks";
    const auto bodies = Bodies(pages, "Script for Morning backup", "Details");
    // The details column starts where its header does.
    const auto header = std::find_if(pages[0].begin(), pages[0].end(),
                                     [](const std::string& l) { return l.find("Details") != std::string::npos; });
    ASSERT_NE(header, pages[0].end());
    ASSERT_EQ(Words(*header), (std::vector<std::string>{"Action", "Details"}));
    const auto rows = Rows(bodies, header->find("Details"));
    EXPECT_EQ(rows, expected);
    for (const auto& body : bodies)
        for (const std::string& line : body)
            EXPECT_EQ(line.find("ForeignItem"), std::string::npos) << line;
}

TEST_F(ScriptReportTest, AnEmptyScriptSaysSoUnderTheTaskNumberWhenTheTaskHasNoDescription)
{
    addTask(9, "");
    auto source = script::MakeScriptReport(db, 9);
    EXPECT_EQ(source->name(), "Script for task 9");
    const auto pages = Render(*source, dir.file("empty.pdf"));
    ASSERT_EQ(pages.size(), 1u);
    const auto bodies = Bodies(pages, "Script for task 9", "Details");
    ASSERT_EQ(bodies.size(), 1u);
    std::vector<std::string> said;
    for (const std::string& line : bodies[0])
        if (!Trimmed(line).empty())
            said.push_back(Trimmed(line));
    EXPECT_EQ(said, std::vector<std::string>{"There is nothing to report."});
}

// Key list lines: aligned columns, a line far wider than the page made of
// words, one made of a single word wider than the page, and a tab.
TEST_F(ScriptReportTest, TheKeyListKeepsItsColumnsAndWrapsLongLinesWithoutLosingAnything)
{
    std::vector<std::string> lines{"HORALYN KEY NAMES", "", "Letter keys"};
    for (int i = 0; i < 140; ++i) {
        std::string key = "[K" + std::to_string(i) + "]";
        if (i % 3 == 0)
            key = "[WWW" + std::to_string(i) + "]";  // wide letters in any font but a fixed one
        std::string line = "  " + key;
        line += std::string(25 - line.size(), ' ') + std::to_string(1000 + i) + "   Key " + std::to_string(i);
        lines.push_back(line);
    }
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += (i == 0 ? "" : " ") + std::string("w") + std::to_string(100 + i);
    lines.push_back(words);  // 199 characters
    const std::string solid = "S" + std::string(180, '#') + "E";
    lines.push_back(solid);
    lines.push_back("\tTabbed\tnote");
    lines.push_back("The end.");

    auto source = script::MakeKeyListReport(lines, "KEYCODES.TXT");
    const auto pages = Render(*source, dir.file("keys.pdf"));
    ASSERT_GE(pages.size(), 2u) << "the test needs page breaks";
    const auto bodies = Bodies(pages, "List of Key Abbreviations", "KEYCODES.TXT");
    std::vector<std::string> printed;
    for (const auto& body : bodies)
        for (const std::string& line : body)
            printed.push_back(line);

    // The key lines in order, each once, their codes in one column on each
    // page (the text reader places each page's characters by its own grid).
    std::vector<int> keys;
    for (const auto& body : bodies) {
        std::set<std::size_t> codeColumns;
        std::string keyLines;
        for (const std::string& line : body) {
            const auto w = Words(line);
            if (w.size() == 4 && w[2] == "Key") {
                keys.push_back(std::stoi(w[3]));
                EXPECT_EQ(w[1], std::to_string(1000 + keys.back()));
                codeColumns.insert(line.find(w[1]));
                keyLines += line + "\n";
            }
        }
        EXPECT_LE(codeColumns.size(), 1u) << "the codes are not lined up:\n" << keyLines;
    }
    std::vector<int> all(140);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(keys, all);

    // The long lines go on in the next lines, every word and character kept.
    const auto at = std::find_if(printed.begin(), printed.end(),
                                 [](const std::string& l) { return Trimmed(l).starts_with("w100 "); });
    ASSERT_NE(at, printed.end());
    std::string joined;
    auto it = at;
    for (; it != printed.end() && !Trimmed(*it).starts_with("S#"); ++it)
        joined += (joined.empty() ? "" : " ") + Trimmed(*it);
    EXPECT_GE(it - at, 2) << "the line of words was not wrapped";
    EXPECT_EQ(joined, words);
    std::string glued;
    auto solidAt = it;
    for (; it != printed.end() && !Trimmed(*it).starts_with("Tabbed"); ++it)
        glued += Trimmed(*it);
    EXPECT_GE(it - solidAt, 2) << "the single word was not wrapped";
    EXPECT_EQ(glued, solid);
    ASSERT_NE(it, printed.end());
    EXPECT_EQ(Words(*it), (std::vector<std::string>{"Tabbed", "note"}));
    ASSERT_NE(it + 1, printed.end());
    EXPECT_EQ(Trimmed(*(it + 1)), "The end.");
}

}  // namespace
}  // namespace hrln::test
