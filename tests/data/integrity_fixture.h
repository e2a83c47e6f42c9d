#pragma once

#include "store_fixture.h"

#include <string>
#include <vector>

namespace hrln::test {

// A store with tasks, script items, contacts, links and categories that refer
// to each other, and a second connection on the same file for another station.
class IntegrityTest : public StoreTest {
protected:
    template <class R>
    void add(const R& rec)
    {
        data::Table<R> t(db);
        t.rec = rec;
        ASSERT_EQ(t.add(), data::kOk);
    }

    void addTask(data::Long id, std::string_view category = "Work", int items = 0)
    {
        add(Task(id, MakeDate(1, 1, 2027), MakeTime(9, 0), "task " + std::to_string(id), category));
        for (int seq = 1; seq <= items; ++seq) {
            data::ScriptingRecord item;
            item.id = id;
            item.sequence = seq;
            item.action = "Send Keystrokes";
            add(item);
        }
    }
    void addLink(data::Long id, data::Long clientId)
    {
        data::LinkRecord link;
        link.id = id;
        link.clientId = clientId;
        add(link);
    }
    void addContact(data::Long clientId, std::string_view category = "Friends")
    {
        data::ContactRecord c;
        c.clientId = clientId;
        c.lastName = "Contact " + std::to_string(clientId);
        c.contactCategory = category;
        add(c);
    }
    void addCategory(std::string_view name)
    {
        data::CategoryRecord c;
        c.category = name;
        add(c);
    }
    void addContactCategory(std::string_view name)
    {
        data::ContactCategoryRecord c;
        c.contactCategory = name;
        add(c);
    }

    // Reads the record of R whose `key` matches `rec`'s values into `table`.
    template <class R>
    void read(data::Table<R>& table, const R& rec, int key)
    {
        table.rec = rec;
        ASSERT_EQ(table.get(key), data::kOk);
    }
    void readTask(data::Table<data::ScheduleRecord>& t, data::Long id)
    {
        data::ScheduleRecord r;
        r.id = id;
        read(t, r, data::ScheduleRecord::KeyID);
    }
    void readContact(data::Table<data::ContactRecord>& t, data::Long clientId)
    {
        data::ContactRecord r;
        r.clientId = clientId;
        read(t, r, data::ContactRecord::KeyClientID);
    }
    void readCategory(data::Table<data::CategoryRecord>& t, std::string_view name)
    {
        data::CategoryRecord r;
        r.category = name;
        read(t, r, data::CategoryRecord::KeyCategory);
    }
    void readContactCategory(data::Table<data::ContactCategoryRecord>& t, std::string_view name)
    {
        data::ContactCategoryRecord r;
        r.contactCategory = name;
        read(t, r, data::ContactCategoryRecord::KeyContactCategories);
    }

    // "ID.Sequence" of every script item, "ID-ClientID" of every link, in key order.
    std::vector<std::string> items()
    {
        return walk<data::ScriptingRecord>(data::ScriptingRecord::KeyID, [](auto& r) {
            return std::to_string(r.id) + "." + std::to_string(r.sequence);
        });
    }
    std::vector<std::string> links()
    {
        return walk<data::LinkRecord>(data::LinkRecord::KeySchedule, [](auto& r) {
            return std::to_string(r.id) + "-" + std::to_string(r.clientId);
        });
    }
    std::vector<std::string> taskIds()
    {
        return walk<data::ScheduleRecord>(data::ScheduleRecord::KeyID, [](auto& r) { return std::to_string(r.id); });
    }
    std::vector<std::string> contactIds()
    {
        return walk<data::ContactRecord>(data::ContactRecord::KeyClientID,
                                         [](auto& r) { return std::to_string(r.clientId); });
    }
    std::vector<std::string> categories()
    {
        return walk<data::CategoryRecord>(data::CategoryRecord::KeyCategory,
                                          [](auto& r) { return r.category.str(); });
    }
    std::vector<std::string> contactCategories()
    {
        return walk<data::ContactCategoryRecord>(data::ContactCategoryRecord::KeyContactCategories,
                                                 [](auto& r) { return r.contactCategory.str(); });
    }

    // Another station on the same file.
    data::Database& station()
    {
        if (!other_.isOpen()) {
            EXPECT_EQ(other_.open(), data::kOk);
        }
        return other_;
    }

private:
    data::Database other_{db.path(), data::MainLayout()};
};

using Strings = std::vector<std::string>;

}  // namespace hrln::test
