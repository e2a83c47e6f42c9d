// The schedule by date over 10,000 enabled tasks, each with its message and
// one in ten with a message of several lines: the pages counted and the first
// one drawn (what the preview needs before it shows anything), the preview
// itself as the print preview window builds it, and the whole report written
// as a PDF file. The memory each adds is reported beside the times.
#include "report/page_layout.h"
#include "scheduler/report_catalogue.h"
#include "data/table.h"
#include "support/bench_schedule.h"
#include "ui/report/report_windows.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <fstream>
#include <string>

namespace {

using hrln::scheduler::ReportKind;

using hrln::bench::ResidentKb;

hrln::data::Database& Schedule(int tasks)
{
    hrln::data::Database& db = hrln::bench::ScheduleDatabase(tasks);
    static bool lengthened = false;
    if (!lengthened) {
        // Every tenth message runs over several lines.
        hrln::data::Table<hrln::data::ScheduleRecord> t(db);
        t.set(hrln::data::ScheduleRecord::KeyID);
        std::string text;
        while (text.size() < 600)
            text += "a longer message that wraps onto further lines ";
        while (t.next() == hrln::data::kOk)
            if (t.rec.id % 10 == 0) {
                t.rec.message = text;
                t.put();
            }
        lengthened = true;
    }
    return db;
}

const hrln::report::Heading kHeading{"Bench User", "December 9, 2026 5:00 AM"};

hrln::scheduler::ReportRequest AllTasks()
{
    hrln::scheduler::ReportRequest r;
    r.includeHistory = true;  // the generated schedule is mostly history
    return r;
}

void BM_FirstPage(benchmark::State& state)
{
    hrln::data::Database& db = Schedule(static_cast<int>(state.range(0)));
    const long before = ResidentKb();
    int pages = 0;
    for (auto _ : state) {
        auto source = hrln::scheduler::MakeReport(db, ReportKind::ScheduleByDate, AllTasks());
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QPdfWriter writer(&out);
        writer.setResolution(300);
        hrln::report::PageLayout layout(*source, kHeading);
        pages = layout.paginate(writer);
        QPainter painter(&writer);
        layout.drawPage(painter, 0);
        painter.end();
        benchmark::DoNotOptimize(out.size());
    }
    state.counters["pages"] = pages;
    state.counters["rss_growth_kb"] = static_cast<double>(ResidentKb() - before);
}

void BM_PreviewShowsPages(benchmark::State& state)
{
    hrln::data::Database& db = Schedule(static_cast<int>(state.range(0)));
    const long before = ResidentKb();
    int pages = 0;
    for (auto _ : state) {
        auto source = hrln::scheduler::MakeReport(db, ReportKind::ScheduleByDate, AllTasks());
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewWidget preview(&printer);
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                         [&](QPrinter* p) { hrln::ui::PrintReport(*source, kHeading, *p); });
        preview.updatePreview();
        pages = preview.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["rss_growth_kb"] = static_cast<double>(ResidentKb() - before);
}

void BM_WholePdf(benchmark::State& state)
{
    hrln::data::Database& db = Schedule(static_cast<int>(state.range(0)));
    const QString file = QDir::temp().filePath(QStringLiteral("hrln-bench-report.pdf"));
    const long before = ResidentKb();
    for (auto _ : state) {
        auto source = hrln::scheduler::MakeReport(db, ReportKind::ScheduleByDate, AllTasks());
        if (!hrln::report::WriteReportPdf(*source, kHeading, file))
            state.SkipWithError("the PDF could not be written");
    }
    state.counters["pdf_kb"] = static_cast<double>(QFileInfo(file).size()) / 1024;
    state.counters["rss_growth_kb"] = static_cast<double>(ResidentKb() - before);
    QFile::remove(file);
}

void BM_WholeText(benchmark::State& state)
{
    hrln::data::Database& db = Schedule(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto source = hrln::scheduler::MakeReport(db, ReportKind::ScheduleByDate, AllTasks());
        std::ofstream out("/dev/null");
        benchmark::DoNotOptimize(hrln::report::WriteText(*source, kHeading, out));
    }
}

BENCHMARK(BM_FirstPage)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PreviewShowsPages)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_WholePdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_WholeText)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
