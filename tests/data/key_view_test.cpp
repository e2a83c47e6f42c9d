#include "data/key_view.h"

#include "store_fixture.h"

#include <algorithm>
#include <cctype>
#include <random>

namespace hrln::test {
namespace {

using data::KeyView;
using data::ScheduleRecord;

class KeyViewTest : public StoreTest {
protected:
    // Tasks with many equal dates and categories in mixed case, some without a category.
    void fill(int n)
    {
        data::Table<ScheduleRecord> t(db);
        std::mt19937 random(7);
        const char* categories[] = {"Work", "work", "Home", "", "WORK", "Garden"};
        for (int i = 1; i <= n; ++i) {
            t.rec = Task(i, static_cast<Date>(80000 + random() % 20), static_cast<Time>(1 + random() % 5),
                         "t" + std::to_string(i), categories[random() % 6]);
            ASSERT_EQ(t.add(), data::kOk);
        }
    }

    // The row ids of `key` as the record cursor reads them.
    std::vector<std::int64_t> cursorWalk(int key, std::string_view category = {})
    {
        data::Table<ScheduleRecord> t(db);
        if (category.empty()) {
            t.set(key);
        } else {
            t.rec.category = category;
            t.setFrom(key);
        }
        std::vector<std::int64_t> out;
        const auto sameCategory = [&] {
            const std::string stored(t.rec.category.str());
            return std::equal(stored.begin(), stored.end(), category.begin(), category.end(),
                              [](char a, char b) { return std::toupper(a) == std::toupper(b); });
        };
        while (t.next() == data::kOk && (category.empty() || sameCategory()))
            out.push_back(t.rowId());
        return out;
    }

    static std::vector<std::int64_t> ids(const std::vector<KeyView::Entry>& entries)
    {
        std::vector<std::int64_t> out;
        for (const auto& e : entries)
            out.push_back(e.rowid);
        return out;
    }
};

// Pages read by offset from either end, and by stepping from a neighbour in
// both directions, give exactly the cursor's order, for unique keys, keys with
// duplicates, keys that leave out empty records, and a narrowed view.
TEST_F(KeyViewTest, PagesAgreeWithTheCursorInEveryDirection)
{
    fill(300);
    for (const int key : {ScheduleRecord::KeyID, ScheduleRecord::KeyDate, ScheduleRecord::KeyCategoryDate}) {
        SCOPED_TRACE(key);
        const std::vector<std::int64_t> expected = cursorWalk(key);
        KeyView view(db, ScheduleRecord::schema(), key);
        ASSERT_EQ(view.count(), static_cast<std::int64_t>(expected.size()));

        std::vector<std::int64_t> byOffset;
        for (std::int64_t first = 0; first < view.count(); first += 37)
            for (const auto id : ids(view.at(first, 37)))
                byOffset.push_back(id);
        EXPECT_EQ(byOffset, expected);

        std::vector<KeyView::Entry> page = view.at(0, 50);
        std::vector<std::int64_t> forward = ids(page);
        while (!page.empty()) {
            page = view.after(page.back(), 50);
            for (const auto id : ids(page))
                forward.push_back(id);
        }
        EXPECT_EQ(forward, expected);

        page = view.at(view.count() - 40, 40);
        std::vector<std::vector<std::int64_t>> pagesFromEnd;
        while (!page.empty()) {
            pagesFromEnd.push_back(ids(page));
            page = view.before(page.front(), 40);
        }
        std::vector<std::int64_t> backward;
        for (auto p = pagesFromEnd.rbegin(); p != pagesFromEnd.rend(); ++p)
            backward.insert(backward.end(), p->begin(), p->end());
        EXPECT_EQ(backward, expected);

        for (std::size_t i = 0; i < expected.size(); i += 23)
            EXPECT_EQ(view.ordinalOf(expected[i]), static_cast<std::int64_t>(i));
    }
}

TEST_F(KeyViewTest, NarrowedViewMatchesItsValueAsTheKeyDoes)
{
    fill(200);
    const std::vector<std::int64_t> expected = cursorWalk(ScheduleRecord::KeyCategoryDate, "WORK");
    ASSERT_GT(expected.size(), 40u);
    KeyView view(db, ScheduleRecord::schema(), ScheduleRecord::KeyCategoryDate, {std::string("wOrK")});
    EXPECT_EQ(view.count(), static_cast<std::int64_t>(expected.size()));
    EXPECT_EQ(ids(view.at(0, 1000)), expected);
    EXPECT_EQ(ids(view.at(static_cast<std::int64_t>(expected.size()) - 3, 10)),
              std::vector<std::int64_t>(expected.end() - 3, expected.end()));

    // A record outside the narrowed view has no place in it, and past the end there is nothing.
    const std::vector<std::int64_t> home = cursorWalk(ScheduleRecord::KeyCategoryDate, "Home");
    ASSERT_FALSE(home.empty());
    EXPECT_EQ(view.ordinalOf(home.front()), -1);
    EXPECT_EQ(view.ordinalOf(999999), -1);
    EXPECT_TRUE(view.at(view.count(), 10).empty());
    EXPECT_TRUE(view.after(view.at(view.count() - 1, 1).front(), 10).empty());
    EXPECT_EQ(view.error(), data::kOk);
}

}  // namespace
}  // namespace hrln::test
