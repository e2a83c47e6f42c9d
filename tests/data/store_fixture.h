#pragma once

#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace hrln::test {

// A fresh HRLN.TPS in a temporary folder, open for the test.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(db.create(), data::kOk); }

    // The values of `field` for every record of `key`, in key order.
    template <class R, class F>
    std::vector<std::string> walk(int key, F field, bool backwards = false)
    {
        data::Table<R> t(db);
        t.set(key);
        std::vector<std::string> out;
        while ((backwards ? t.previous() : t.next()) == data::kOk)
            out.push_back(field(t.rec));
        EXPECT_EQ(t.error(), data::kRecordNotAvailable);
        return out;
    }

    // The script items of task `id`, in script order.
    std::vector<data::ScriptingRecord> scriptItems(data::Long id)
    {
        std::vector<data::ScriptingRecord> out;
        data::Table<data::ScriptingRecord> t(db);
        t.clear();
        t.rec.id = id;
        t.rec.sequence = std::numeric_limits<data::Long>::min();
        t.setFrom(data::ScriptingRecord::KeyID);
        while (t.next() == data::kOk && t.rec.id == id)
            out.push_back(t.rec);
        return out;
    }

    TempDir dir;
    data::Database db{dir.file(data::kMainDatabaseFile), data::MainLayout()};
};

inline data::ScheduleRecord Task(data::Long id, Date date, Time time, std::string_view description = "task",
                                 std::string_view category = "Work")
{
    data::ScheduleRecord r;
    r.id = id;
    r.date = date;
    r.time = time;
    r.description = description;
    r.category = category;
    r.taskType = "Display Message";
    r.scheduleType = "Once";
    return r;
}

}  // namespace hrln::test
