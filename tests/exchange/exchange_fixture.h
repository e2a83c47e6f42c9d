#pragma once

#include "common/batch_job.h"
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "exchange/csv_export.h"
#include "exchange/csv_import.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace hrln::test {

// Two empty databases in one folder: one to export from, one to import into.
class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(from.create(), data::kOk);
        ASSERT_EQ(into.create(), data::kOk);
    }

    template <class R>
    void store(data::Database& db, const R& record)
    {
        data::Table<R> t(db);
        t.rec = record;
        ASSERT_EQ(t.add(), data::kOk);
    }

    template <class R>
    std::vector<R> records(data::Database& db, int key)
    {
        data::Table<R> t(db);
        t.set(key);
        std::vector<R> out;
        while (t.next() == data::kOk)
            out.push_back(t.rec);
        return out;
    }

    // Runs a job to its end in batches of `batch`; the run's final state.
    static BatchRun::State run(BatchJob& job, int batch = 3)
    {
        BatchRun r(job, batch);
        if (!r.start())
            return r.state();
        while (r.running())
            r.tick();
        return r.state();
    }

    exchange::ImportSummary import(exchange::ExchangeTable table, const exchange::FieldLayout& layout,
                                   const std::string& file, data::Database& db)
    {
        exchange::ImportJob job(db, table, layout, file, prompter);
        run(job);
        return job.summary();
    }

    // A file of ten to-do items, one a line, and the layout that reads it.
    std::string tenToDoItems(exchange::FieldLayout& layout)
    {
        std::string lines;
        for (int i = 0; i < 10; ++i)
            lines += "\"item " + std::to_string(i) + "\"\r\n";
        const std::string file = dir.file("todo.csv");
        WriteFile(file, lines);
        layout.header = false;
        layout.fields = {{"ToDo", "ToDo", "", exchange::FieldType::Text}};
        return file;
    }

    TempDir dir;
    data::Database from{dir.file("from.tps"), data::MainLayout()};
    data::Database into{dir.file("into.tps"), data::MainLayout()};
    FakePrompter prompter;
};

}  // namespace hrln::test
