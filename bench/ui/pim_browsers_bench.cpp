// The to-do list and the clipboard saver over 100,000 records each (the
// saved texts 4,096 characters long): each opened with its first page drawn,
// and the memory the open window holds.
#include "data/table.h"
#include "platform/clipboard.h"
#include "support/resident_memory.h"
#include "support/silent_services.h"
#include "ui/pim/clipboard_windows.h"
#include "ui/pim/todo_windows.h"

#include <benchmark/benchmark.h>

#include <QTableView>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using hrln::bench::ResidentKb;

constexpr int kRecords = 100'000;

class NoClipboard : public hrln::platform::Clipboard {
public:
    std::string text() override { return {}; }
    void setText(const std::string&) override {}
};

struct Tables {
    Tables()
    {
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(path.string() + suffix);
        if (db.create() != hrln::data::kOk)
            std::abort();
        db.begin();
        hrln::data::Table<hrln::data::TodoRecord> todo(db);
        hrln::data::Table<hrln::data::ClipboardRecord> clips(db);
        const std::string text(4096, 'x');
        for (int i = 1; i <= kRecords; ++i) {
            todo.clear();
            todo.rec.done = i % 3 == 0 ? 1 : 0;
            todo.rec.priority = static_cast<hrln::data::Byte>(1 + i % 10);
            todo.rec.category = i % 2 == 0 ? "Home" : "Work";
            todo.rec.toDo = "Item " + std::to_string(i);
            todo.rec.notes = "Notes of item " + std::to_string(i);
            clips.clear();
            clips.rec.clipDate = 80000 + i / 100;
            clips.rec.clipTime = (i % 100) * 1000 + 1;
            clips.rec.clipHashKey = "hash" + std::to_string(i);
            clips.rec.clipContents = std::to_string(i) + text;
            if (todo.add() != hrln::data::kOk || clips.add() != hrln::data::kOk)
                std::abort();
        }
        db.commit();
    }

    std::filesystem::path path = std::filesystem::temp_directory_path() / "hrln-bench-pim.tps";
    hrln::data::Database db{path.string(), hrln::data::MainLayout()};
    hrln::data::ProfileFile positions{"POSITION.INI"};
    hrln::bench::SilentPrompter prompter;
    hrln::bench::StillClock clock;
    NoClipboard clipboard;
};

Tables& TheTables()
{
    static Tables tables;
    return tables;
}

template <class Open>
void OpenAndDraw(benchmark::State& state, Open open)
{
    const long before = ResidentKb();
    long held = 0;
    for (auto _ : state) {
        auto w = open();
        w->resize(900, 600);
        w->show();
        w->list()->view()->viewport()->repaint();
        benchmark::DoNotOptimize(w->list()->model()->rowCount());
        held = ResidentKb() - before;
    }
    state.counters["rows"] = kRecords;
    state.counters["resident_kb_added"] = static_cast<double>(held);
}

void BM_OpenToDoList(benchmark::State& state)
{
    Tables& t = TheTables();
    OpenAndDraw(state, [&t] {
        return std::make_unique<hrln::ui::ViewToDoWindow>(
            hrln::ui::PimWindowServices{{t.db, t.positions, t.prompter}, t.clock, QString()});
    });
}

void BM_OpenClipboardSaver(benchmark::State& state)
{
    Tables& t = TheTables();
    OpenAndDraw(state, [&t] {
        return std::make_unique<hrln::ui::BrowseClipboardWindow>(
            hrln::ui::WindowServices{t.db, t.positions, t.prompter}, t.clipboard, nullptr);
    });
}

BENCHMARK(BM_OpenToDoList)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_OpenClipboardSaver)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
