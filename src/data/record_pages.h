#pragma once

#include "data/key_view.h"
#include "data/table.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace hrln::data {

// The records of one key read a page at a time, for lists that are read
// through from start to end (reports, text output). Reading on from where the
// last page ended steps along the key from that page's last entry; any other
// start counts its way in from the nearer end.
class KeyPager {
public:
    KeyPager(Database& db, const TableSchema& schema, int key, std::vector<Value> prefix = {},
             KeyView::Restriction restriction = {})
        : view_(db, schema, key, std::move(prefix), std::move(restriction))
    {
    }

    // Up to `n` entries from ordinal `first` on, in key order.
    std::vector<KeyView::Entry> entries(std::int64_t first, int n)
    {
        std::vector<KeyView::Entry> out =
            first == next_ && first > 0 ? view_.after(last_, n) : view_.at(first, n);
        next_ = first + static_cast<std::int64_t>(out.size());
        if (!out.empty())
            last_ = out.back();
        return out;
    }

    int key() const { return view_.key(); }
    int error() const { return view_.error(); }

private:
    KeyView view_;
    std::int64_t next_ = -1;
    KeyView::Entry last_;
};

// KeyPager with each entry's whole record read into a buffer of its own.
template <class R>
class RecordPages {
public:
    RecordPages(Database& db, int key, std::vector<Value> prefix = {}, KeyView::Restriction restriction = {})
        : pager_(db, R::schema(), key, std::move(prefix), std::move(restriction)), table_(db)
    {
    }

    // Calls `f(&record)` for each of up to `n` entries from ordinal `first`
    // on, `f(nullptr)` for one whose record was removed meanwhile. Returns the
    // entries read.
    template <class F>
    int read(std::int64_t first, int n, F&& f)
    {
        const std::vector<KeyView::Entry> page = pager_.entries(first, n);
        error_ = pager_.error();
        for (const KeyView::Entry& e : page)
            f(table_.reget(pager_.key(), e.rowid) == kOk ? &std::as_const(table_.rec) : nullptr);
        return static_cast<int>(page.size());
    }

    int error() const { return error_; }

private:
    KeyPager pager_;
    Table<R> table_;
    int error_ = kOk;
};

}  // namespace hrln::data
