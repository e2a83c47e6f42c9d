// An add wizard opened on the schedule as the user meets it, up to its first
// page drawn and ready for input: the task's number reserved, the category
// "General" made sure of, the category list filled, the pages built. On a
// table of 10,000 and of 1,000,000 records. Cancel removes the reserved
// record again, outside the timing, so every round opens on the same table.
#include "support/bench_schedule.h"
#include "ui/schedule/wizard_window.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

using hrln::ui::WizardWindow;

// The day the generated schedule is built around, at nine.
class BenchClock : public hrln::platform::Clock {
public:
    hrln::platform::DateTime now() const override { return {hrln::bench::BenchToday(), hrln::MakeTime(9, 0)}; }
};

// Answers every question with its default, as a user pressing Enter would.
class DefaultPrompter : public hrln::platform::Prompter {
public:
    hrln::platform::MessageButton ask(const hrln::platform::MessageBox& box) override { return box.defaultButton; }
    void endProgram(const std::string&) override {}
};

void BM_OpenAddWizard(benchmark::State& state)
{
    hrln::data::Database& db = hrln::bench::ScheduleDatabase(static_cast<int>(state.range(0)));
    hrln::data::ProfileFile positions("POSITION.INI");
    hrln::data::ProfileFile ini("HRLN.INI");
    BenchClock clock;
    DefaultPrompter prompter;
    const hrln::ui::ScheduleWindowServices services{{db, positions, prompter}, clock, ini, nullptr};
    const auto kind = static_cast<hrln::scheduler::AddWizard>(state.range(1));
    for (auto _ : state) {
        WizardWindow* window = WizardWindow::OpenAddWizard(services, kind);
        if (window == nullptr) {
            state.SkipWithError("no number reserved");
            break;
        }
        window->show();
        window->repaint();
        state.PauseTiming();
        window->reject();
        delete window;
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(state.range(0));
}

// Message, program and task wizard.
BENCHMARK(BM_OpenAddWizard)
    ->ArgsProduct({{10000, 1000000}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace
