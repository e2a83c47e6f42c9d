// The contact browser over 100,000 contacts in five contact categories:
// opened on "Last Name" with its first page drawn, and a switch of tab among
// the name, phone, e-mail and category orders. The memory the open browser
// holds is reported beside the times.
#include "data/table.h"
#include "support/resident_memory.h"
#include "support/silent_services.h"
#include "ui/pim/contact_windows.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

namespace {

using hrln::bench::ResidentKb;
using hrln::data::ContactRecord;
using hrln::ui::BrowseContactsWindow;

constexpr int kContacts = 100'000;
const char* const kCategories[] = {"Family", "Friends", "Work", "Suppliers", "Clubs"};

struct Contacts {
    Contacts()
    {
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(path.string() + suffix);
        if (db.create() != hrln::data::kOk)
            std::abort();
        std::mt19937 random(11);
        db.begin();
        hrln::data::Table<hrln::data::ContactCategoryRecord> names(db);
        for (const char* name : kCategories) {
            names.clear();
            names.rec.contactCategory = name;
            names.add();
        }
        hrln::data::Table<ContactRecord> t(db);
        for (int i = 1; i <= kContacts; ++i) {
            t.clear();
            t.rec.clientId = i;
            t.rec.lastName = "Surname" + std::to_string(random() % 50000);
            t.rec.firstName = "Given" + std::to_string(random() % 5000);
            t.rec.addressLine1 = std::to_string(i) + " Long Street";
            t.rec.addressLine2 = "District " + std::to_string(i % 400);
            t.rec.addressLine3 = "Town " + std::to_string(i % 90);
            t.rec.postalCode = "PC" + std::to_string(i % 9999);
            t.rec.workDayPhone = "555 " + std::to_string(random() % 10000000);
            t.rec.homeEveningPhone = "556 " + std::to_string(random() % 10000000);
            t.rec.fax = i % 4 == 0 ? "557 " + std::to_string(i) : std::string();
            t.rec.email = "person" + std::to_string(i) + "@example.org";
            t.rec.contactCategory = kCategories[i % 5];
            t.rec.notes = std::string(200, 'n');
            if (t.add() != hrln::data::kOk)
                std::abort();
        }
        db.commit();
    }

    std::unique_ptr<BrowseContactsWindow> open()
    {
        auto w = std::make_unique<BrowseContactsWindow>(hrln::ui::WindowServices{db, positions, prompter}, nullptr);
        w->resize(900, 600);
        w->show();
        paint(*w);
        return w;
    }
    static void paint(BrowseContactsWindow& w) { w.list()->view()->viewport()->repaint(); }

    std::filesystem::path path = std::filesystem::temp_directory_path() / "hrln-bench-contacts.tps";
    hrln::data::Database db{path.string(), hrln::data::MainLayout()};
    hrln::data::ProfileFile positions{"POSITION.INI"};
    hrln::bench::SilentPrompter prompter;
};

Contacts& TheContacts()
{
    static Contacts contacts;
    return contacts;
}

void BM_OpenOnLastName(benchmark::State& state)
{
    Contacts& c = TheContacts();
    const long before = ResidentKb();
    long held = 0;
    for (auto _ : state) {
        auto w = c.open();
        benchmark::DoNotOptimize(w->list()->model()->rowCount());
        held = ResidentKb() - before;
    }
    state.counters["rows"] = kContacts;
    state.counters["resident_kb_added"] = static_cast<double>(held);
}

void BM_SwitchTab(benchmark::State& state)
{
    Contacts& c = TheContacts();
    auto w = c.open();
    int tab = 0;
    for (auto _ : state) {
        tab = (tab + 1) % (BrowseContactsWindow::kCategoryTab + 1);
        w->list()->setTab(tab);
        Contacts::paint(*w);
    }
    state.counters["pages_cached"] = static_cast<double>(w->list()->model()->cachedPages());
}

BENCHMARK(BM_OpenOnLastName)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_SwitchTab)->Unit(benchmark::kMillisecond)->Iterations(21);

}  // namespace
