#include "ui/widgets/browse_model.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace hrln::ui {

BrowseModel::BrowseModel(std::unique_ptr<BrowseSource> source, QObject* parent)
    : QAbstractTableModel(parent), source_(std::move(source))
{
}

BrowseModel::~BrowseModel() = default;

int BrowseModel::key() const
{
    if (feed_)
        return feedKey_;
    return view_ ? view_->key() : -1;
}

void BrowseModel::setView(int key, std::vector<data::Value> prefix, data::KeyView::Restriction restriction)
{
    beginResetModel();
    feed_.reset();
    feedFactory_ = {};
    feedRows_.clear();
    view_ = std::make_unique<data::KeyView>(source_->database(), source_->schema(), key, std::move(prefix),
                                            std::move(restriction));
    pages_.clear();
    total_ = view_->count();
    count_ = static_cast<int>(std::min<std::int64_t>(total_, std::numeric_limits<int>::max()));
    endResetModel();
}

void BrowseModel::setFeed(RowFeedFactory factory, int key)
{
    beginResetModel();
    view_.reset();
    pages_.clear();
    total_ = 0;
    feedFactory_ = std::move(factory);
    feedKey_ = key;
    feed_ = feedFactory_();
    feedRows_.clear();
    feedDone_ = false;
    readFeed(kPageRows);
    endResetModel();
}

void BrowseModel::readFeed(std::size_t rows)
{
    while (!feedDone_ && feedRows_.size() < rows) {
        const int wanted = static_cast<int>(std::min<std::size_t>(rows - feedRows_.size(), kPageRows));
        std::vector<RowFeed::Row> page = feed_->next(wanted);
        feedDone_ = static_cast<int>(page.size()) < wanted;
        for (RowFeed::Row& row : page)
            feedRows_.push_back(std::move(row));
    }
    count_ = static_cast<int>(std::min<std::size_t>(feedRows_.size(), std::numeric_limits<int>::max()));
}

bool BrowseModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && feed_ && !feedDone_;
}

void BrowseModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    const std::size_t before = feedRows_.size();
    std::vector<RowFeed::Row> page = feed_->next(kPageRows);
    feedDone_ = static_cast<int>(page.size()) < kPageRows;
    if (page.empty())
        return;
    beginInsertRows({}, static_cast<int>(before), static_cast<int>(before + page.size() - 1));
    for (RowFeed::Row& row : page)
        feedRows_.push_back(std::move(row));
    count_ = static_cast<int>(feedRows_.size());
    endInsertRows();
}

void BrowseModel::refresh()
{
    if (feed_) {
        beginResetModel();
        const std::size_t shown = std::max<std::size_t>(feedRows_.size(), kPageRows);
        feed_ = feedFactory_();
        feedRows_.clear();
        feedDone_ = false;
        readFeed(shown);
        endResetModel();
        return;
    }
    if (!view_)
        return;
    beginResetModel();
    pages_.clear();
    total_ = view_->count();
    count_ = static_cast<int>(std::min<std::int64_t>(total_, std::numeric_limits<int>::max()));
    endResetModel();
}

void BrowseModel::load(std::int64_t number, Page& out) const
{
    // Step from a neighbouring page where one is held: cheaper than an offset
    // in the middle of a long key.
    const auto previous = pages_.find(number - 1);
    const auto next = pages_.find(number + 1);
    if (previous != pages_.end() && previous->second.entries.size() == static_cast<std::size_t>(kPageRows))
        out.entries = view_->after(previous->second.entries.back(), kPageRows);
    else if (next != pages_.end() && !next->second.entries.empty())
        out.entries = view_->before(next->second.entries.front(), kPageRows);
    else
        out.entries = view_->at(number * kPageRows, kPageRows, total_);

    out.cells.resize(out.entries.size());
    for (std::size_t i = 0; i < out.entries.size(); ++i) {
        if (!source_->read(view_->key(), out.entries[i].rowid, out.cells[i]))
            out.cells[i].assign(static_cast<std::size_t>(source_->columnCount()), BrowseCell{});
    }
}

const BrowseModel::Page* BrowseModel::page(std::int64_t number) const
{
    if (!view_)
        return nullptr;
    auto found = pages_.find(number);
    if (found == pages_.end()) {
        if (pages_.size() >= kCachedPages) {
            const auto oldest = std::min_element(pages_.begin(), pages_.end(), [](const auto& a, const auto& b) {
                return a.second.lastUse < b.second.lastUse;
            });
            pages_.erase(oldest);
        }
        Page loaded;
        load(number, loaded);
        found = pages_.emplace(number, std::move(loaded)).first;
    }
    found->second.lastUse = ++uses_;
    return &found->second;
}

const std::vector<BrowseCell>* BrowseModel::cellsAt(int row) const
{
    if (feed_)
        return &feedRows_[static_cast<std::size_t>(row)].cells;
    const Page* p = page(row / kPageRows);
    const auto i = static_cast<std::size_t>(row % kPageRows);
    return p != nullptr && i < p->cells.size() ? &p->cells[i] : nullptr;
}

std::int64_t BrowseModel::rowIdAt(int row) const
{
    if (row < 0 || row >= count_)
        return 0;
    if (feed_)
        return feedRows_[static_cast<std::size_t>(row)].rowid;
    const Page* p = page(row / kPageRows);
    const auto i = static_cast<std::size_t>(row % kPageRows);
    return p != nullptr && i < p->entries.size() ? p->entries[i].rowid : 0;
}

int BrowseModel::rowOf(std::int64_t rowid) const
{
    if (feed_ && rowid != 0) {
        // A record may show in several rows of a feed: its first is taken.
        for (int row = 0; row < count_; ++row)
            if (feedRows_[static_cast<std::size_t>(row)].rowid == rowid)
                return row;
        return -1;
    }
    if (!view_ || rowid == 0)
        return -1;
    const std::int64_t ordinal = view_->ordinalOf(rowid);
    return ordinal >= 0 && ordinal < count_ ? static_cast<int>(ordinal) : -1;
}

bool BrowseModel::readRow(int row)
{
    const std::int64_t rowid = rowIdAt(row);
    std::vector<BrowseCell> cells;
    return rowid != 0 && source_->read(key(), rowid, cells);
}

int BrowseModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

int BrowseModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : source_->columnCount();
}

QVariant BrowseModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count_)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(source_->alignment(index.column()));
    if (role != Qt::DisplayRole && role != Qt::DecorationRole && role != Qt::ForegroundRole &&
        role != Qt::AccessibleTextRole)
        return {};
    const std::vector<BrowseCell>* cells = cellsAt(index.row());
    if (cells == nullptr || static_cast<std::size_t>(index.column()) >= cells->size())
        return {};
    const BrowseCell& cell = (*cells)[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole: return cell.text;
    case Qt::AccessibleTextRole: return cell.spoken.isEmpty() ? cell.text : cell.spoken;
    case Qt::DecorationRole: return cell.icon.isNull() ? QVariant() : QVariant(cell.icon);
    case Qt::ForegroundRole: return cell.color.isValid() ? QVariant(cell.color) : QVariant();
    default: return {};
    }
}

QVariant BrowseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The rows' headings are never shown: assistive technology reads them as
    // the rows' descriptions.
    if (orientation == Qt::Vertical) {
        if ((role != Qt::DisplayRole && role != Qt::AccessibleTextRole) || section < 0 || section >= count_)
            return {};
        return rowText(section);
    }
    if (section < 0 || section >= source_->columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return source_->title(section);
    if (role == Qt::AccessibleTextRole)
        return source_->spokenTitle(section);
    return {};
}

QString BrowseModel::rowText(int row) const
{
    const std::vector<BrowseCell>* cells = cellsAt(row);
    if (cells == nullptr)
        return {};
    QStringList parts;
    for (std::size_t c = 0; c < cells->size(); ++c) {
        const BrowseCell& cell = (*cells)[c];
        const QString said = cell.spoken.isEmpty() ? cell.text : cell.spoken;
        if (said.isEmpty())
            continue;
        const QString heading = source_->spokenTitle(static_cast<int>(c));
        parts << (heading.isEmpty() ? said : heading + QStringLiteral(": ") + said);
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace hrln::ui
