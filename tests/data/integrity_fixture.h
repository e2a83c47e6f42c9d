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

    // Reads into `table` the record of R whose `key`, led by `field`, holds `value`.
    template <class R, class V, class Given>
    void read(data::Table<R>& table, int key, V R::*field, const Given& value)
    {
        table.clear();
        table.rec.*field = value;
        ASSERT_EQ(table.get(key), data::kOk);
    }
    void readTask(data::Table<data::ScheduleRecord>& t, data::Long id)
    {
        read(t, data::ScheduleRecord::KeyID, &data::ScheduleRecord::id, id);
    }
    void readContact(data::Table<data::ContactRecord>& t, data::Long clientId)
    {
        read(t, data::ContactRecord::KeyClientID, &data::ContactRecord::clientId, clientId);
    }
    void readCategory(data::Table<data::CategoryRecord>& t, std::string_view name)
    {
        read(t, data::CategoryRecord::KeyCategory, &data::CategoryRecord::category, name);
    }
    void readContactCategory(data::Table<data::ContactCategoryRecord>& t, std::string_view name)
    {
        read(t, data::ContactCategoryRecord::KeyContactCategories, &data::ContactCategoryRecord::contactCategory,
             name);
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
