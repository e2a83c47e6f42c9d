#pragma once

#include "data/key_view.h"
#include "data/table.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace hrln::ui {

// What one cell of a browse list shows.
struct BrowseCell {
    QString text;
    QIcon icon;
    QColor color;  // invalid: the view's own
    QString spoken;  // what assistive technology says of it, when not its text (an icon's meaning)
};

// One column of a browse list, declared over the table's record.
template <class R>
struct BrowseColumn {
    QString title;
    int width = 10;  // characters
    std::function<QString(const R&)> text;
    std::function<QIcon(const R&)> icon = {};
    std::function<QColor(const R&)> color = {};
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    // For a column of icons: its heading and what each icon means, as
    // assistive technology says them.
    QString spokenTitle = {};
    std::function<QString(const R&)> spoken = {};
};

// A table read row by row for a browse list, without the list knowing its record type.
class BrowseSource {
public:
    virtual ~BrowseSource() = default;
    virtual data::Database& database() const = 0;
    virtual const data::TableSchema& schema() const = 0;
    virtual int columnCount() const = 0;
    virtual QString title(int column) const = 0;
    // The heading assistive technology says (the title, or what a column of icons shows).
    virtual QString spokenTitle(int column) const { return title(column); }
    virtual int width(int column) const = 0;
    virtual Qt::Alignment alignment(int column) const = 0;
    // Reads the record with row id `rowid` into the source's buffer, positioned
    // in `key`, and gives its cells; false when it is gone.
    virtual bool read(int key, std::int64_t rowid, std::vector<BrowseCell>& cells) = 0;
};

template <class R>
class TableBrowseSource : public BrowseSource {
public:
    TableBrowseSource(data::Database& db, std::vector<BrowseColumn<R>> columns)
        : table_(db), columns_(std::move(columns))
    {
    }

    data::Table<R>& table() { return table_; }

    data::Database& database() const override { return table_.database(); }
    const data::TableSchema& schema() const override { return R::schema(); }
    int columnCount() const override { return static_cast<int>(columns_.size()); }
    QString title(int column) const override { return columns_[static_cast<std::size_t>(column)].title; }
    QString spokenTitle(int column) const override
    {
        const BrowseColumn<R>& c = columns_[static_cast<std::size_t>(column)];
        return c.spokenTitle.isEmpty() ? c.title : c.spokenTitle;
    }
    int width(int column) const override { return columns_[static_cast<std::size_t>(column)].width; }
    Qt::Alignment alignment(int column) const override
    {
        return columns_[static_cast<std::size_t>(column)].alignment;
    }
    bool read(int key, std::int64_t rowid, std::vector<BrowseCell>& cells) override
    {
        if (table_.reget(key, rowid) != data::kOk)
            return false;
        cells.clear();
        for (const BrowseColumn<R>& c : columns_) {
            BrowseCell cell;
            cell.text = c.text ? c.text(table_.rec) : QString();
            if (c.icon)
                cell.icon = c.icon(table_.rec);
            if (c.color)
                cell.color = c.color(table_.rec);
            if (c.spoken)
                cell.spoken = c.spoken(table_.rec);
            cells.push_back(std::move(cell));
        }
        return true;
    }

private:
    data::Table<R> table_;
    std::vector<BrowseColumn<R>> columns_;
};

// Rows that come one page after another rather than from a key (an agenda of
// occurrences): read forward only, as far as the view scrolls. Each row names
// a record of the source's table by its row id, with cells of its own.
class RowFeed {
public:
    struct Row {
        std::int64_t rowid = 0;
        std::vector<BrowseCell> cells;
    };
    virtual ~RowFeed() = default;
    // Up to `n` further rows; fewer only at the end.
    virtual std::vector<Row> next(int n) = 0;
};
// Makes the feed anew from its start, for the list and for each refresh.
using RowFeedFactory = std::function<std::unique_ptr<RowFeed>()>;

// A list model over one key of a table (optionally narrowed to entries whose
// leading key values equal given ones). It keeps a few pages of rows and reads
// the rest when the view asks, so its size does not follow the table's.
class BrowseModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kPageRows = 64;
    static constexpr std::size_t kCachedPages = 12;

    explicit BrowseModel(std::unique_ptr<BrowseSource> source, QObject* parent = nullptr);
    ~BrowseModel() override;

    BrowseSource& source() const { return *source_; }
    int key() const;

    // Shows `key`, narrowed to `prefix` (and `restriction`), from its first entry.
    void setView(int key, std::vector<data::Value> prefix = {}, data::KeyView::Restriction restriction = {});
    // Shows the rows of a feed instead of a key; `key` positions the source's
    // buffer when a row's record is read.
    void setFeed(RowFeedFactory factory, int key);
    // The feed shown now, none while a key is.
    RowFeed* feed() const { return feed_.get(); }
    // Reads the table anew (the count and every page); a feed is made anew and
    // read as far as it was.
    void refresh();

    // The row id shown in `row` (0 when there is none).
    std::int64_t rowIdAt(int row) const;
    // The row showing the record with row id `rowid`, -1 when it is not in the list.
    int rowOf(std::int64_t rowid) const;
    // Reads the record shown in `row` into the source's buffer.
    bool readRow(int row);
    // Pages held now, for tests and benchmarks.
    std::size_t cachedPages() const { return pages_.size(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    // Reads feed rows until `rows` are held or the feed ends.
    void readFeed(std::size_t rows);
    const std::vector<BrowseCell>* cellsAt(int row) const;
    // A row as one text for assistive technology: its cells' texts, each after its heading.
    QString rowText(int row) const;

    struct Page {
        std::vector<data::KeyView::Entry> entries;
        std::vector<std::vector<BrowseCell>> cells;
        std::uint64_t lastUse = 0;
    };
    const Page* page(std::int64_t number) const;
    void load(std::int64_t number, Page& page) const;

    std::unique_ptr<BrowseSource> source_;
    std::unique_ptr<data::KeyView> view_;
    std::int64_t total_ = 0;  // the key's count, of which the view shows up to the most an int holds
    int count_ = 0;
    mutable std::map<std::int64_t, Page> pages_;
    mutable std::uint64_t uses_ = 0;
    RowFeedFactory feedFactory_;
    std::unique_ptr<RowFeed> feed_;
    std::vector<RowFeed::Row> feedRows_;  // the rows read so far
    bool feedDone_ = false;
    int feedKey_ = -1;
};

}  // namespace hrln::ui
