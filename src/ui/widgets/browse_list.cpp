#include "ui/widgets/browse_list.h"

#include "ui/widgets/accessible_names.h"
#include "ui/widgets/schedule_notifier.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace hrln::ui {

namespace {

// Enough for normal text to read (the common guideline for body text).
constexpr double kReadableContrast = 4.5;

double Luminance(const QColor& c)
{
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// A cell's own colour stays when its row is highlighted: it means something
// (a disabled task's grey date), which the highlight's text colour would hide;
// it is only lightened or darkened as far as the highlight needs.
class OwnColourDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if ((option->state & QStyle::State_Selected) == 0)
            return;
        if (const QVariant colour = index.data(Qt::ForegroundRole); colour.isValid()) {
            const QPalette::ColorGroup group =
                (option->state & QStyle::State_Active) != 0 ? QPalette::Active : QPalette::Inactive;
            option->palette.setColor(QPalette::HighlightedText,
                                     onHighlight(colour.value<QColor>(), option->palette.color(group, QPalette::Highlight),
                                                 option->palette.color(group, QPalette::HighlightedText)));
        }
    }

private:
    // A list shows few colours on one highlight: each mix is worked out once.
    QColor onHighlight(const QColor& own, const QColor& highlight, const QColor& highlightedText) const
    {
        const std::tuple<QRgb, QRgb, QRgb> key{own.rgba(), highlight.rgba(), highlightedText.rgba()};
        auto at = mixed_.find(key);
        if (at == mixed_.end())
            at = mixed_.emplace(key, ColourOnHighlight(own, highlight, highlightedText)).first;
        return at->second;
    }

    mutable std::map<std::tuple<QRgb, QRgb, QRgb>, QColor> mixed_;
};

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ColourOnHighlight(const QColor& own, const QColor& highlight, const QColor& highlightedText)
{
    // A highlight whose own text reads less well sets the bar lower, with a
    // margin so that some of the colour, and what it says, is left.
    const double wanted = std::min(kReadableContrast, 0.85 * ContrastRatio(highlightedText, highlight));
    constexpr int kSteps = 20;
    for (int step = 0; step <= kSteps; ++step) {
        const double t = static_cast<double>(step) / kSteps;
        const QColor mixed = QColor::fromRgbF(static_cast<float>(own.redF() + (highlightedText.redF() - own.redF()) * t),
                                              static_cast<float>(own.greenF() + (highlightedText.greenF() - own.greenF()) * t),
                                              static_cast<float>(own.blueF() + (highlightedText.blueF() - own.blueF()) * t));
        if (ContrastRatio(mixed, highlight) >= wanted)
            return mixed;
    }
    return highlightedText;
}

BrowseList::BrowseList(std::unique_ptr<BrowseSource> source, std::vector<BrowseTab> tabs, int standard,
                       QWidget* parent)
    : QWidget(parent), tabList_(std::move(tabs)), standard_(standard)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    tabBar_ = new QTabBar(this);
    tabBar_->setObjectName(QStringLiteral("browseTabs"));
    for (const BrowseTab& tab : tabList_)
        tabBar_->addTab(tab.title);
    tabBar_->setVisible(tabList_.size() > 1);
    layout->addWidget(tabBar_);

    const int columns = source->columnCount();
    std::vector<int> widths;
    for (int c = 0; c < columns; ++c)
        widths.push_back(source->width(c));
    model_ = new BrowseModel(std::move(source), this);
    // Whatever anyone wrote to the file (the scheduler, another program, our
    // own windows and jobs) shows in every open list within one tick.
    connect(&ScheduleNotifier::instance(), &ScheduleNotifier::changed, this, &BrowseList::refresh);

    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("browseList"));
    view_->setModel(model_);
    view_->setItemDelegate(new OwnColourDelegate(view_));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    view_->setShowGrid(false);
    view_->setAlternatingRowColors(true);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->horizontalHeader()->setSectionsClickable(false);
    // Dates and times are digits, which many fonts draw wider than their
    // average character; and a heading shows whole whatever its width.
    const QFontMetrics cells = view_->fontMetrics();
    const QFontMetrics headings = view_->horizontalHeader()->fontMetrics();
    const int charWidth = std::max(cells.averageCharWidth(), cells.horizontalAdvance(QLatin1Char('0')));
    const int headingMargin = 2 * view_->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view_) + 12;
    for (int c = 0; c < columns; ++c) {
        const QString heading = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        view_->setColumnWidth(c, std::max(std::max(4, widths[static_cast<std::size_t>(c)]) * charWidth + 12,
                                          headings.horizontalAdvance(heading) + headingMargin));
    }
    view_->installEventFilter(this);
    layout->addWidget(view_, 1);

    buttons_ = new QHBoxLayout;
    layout->addLayout(buttons_);

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("browsePopup"));
    if ((standard & Add) != 0) {
        connect(standardButton(tr("&Add"), QStringLiteral("insertButton")), &QPushButton::clicked,
                this, &BrowseList::insertRequested);
        connect(menu_->addAction(tr("&Add")), &QAction::triggered, this, &BrowseList::insertRequested);
    }
    if ((standard & Edit) != 0) {
        QPushButton* edit = standardButton(tr("&Edit"), QStringLiteral("changeButton"));
        connect(edit, &QPushButton::clicked, this, &BrowseList::requestChange);
        needRow_.push_back(edit);
        QAction* action = menu_->addAction(tr("&Edit"));
        connect(action, &QAction::triggered, this, &BrowseList::requestChange);
        needRowActions_.push_back(action);
    }
    if ((standard & Delete) != 0) {
        QPushButton* del = standardButton(tr("&Delete"), QStringLiteral("deleteButton"));
        const auto request = [this] {
            if (const std::int64_t rowid = selectedRowId(); rowid != 0)
                Q_EMIT deleteRequested(rowid);
        };
        connect(del, &QPushButton::clicked, this, request);
        needRow_.push_back(del);
        QAction* action = menu_->addAction(tr("&Delete"));
        connect(action, &QAction::triggered, this, request);
        needRowActions_.push_back(action);
    }

    connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex&) { activate(); });
    if ((standard & Edit) != 0)
        connect(this, &BrowseList::rowActivated, this, &BrowseList::changeRequested);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!menu_->isEmpty())
            menu_->popup(view_->viewport()->mapToGlobal(at));
    });
    connect(tabBar_, &QTabBar::currentChanged, this, &BrowseList::setTab);
    connect(model_, &QAbstractItemModel::modelReset, this, &BrowseList::updateEnabling);

    if (!tabList_.empty())
        showTab(tabList_.front());
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& now) {
        // Kept as the user chose it: rows read again after another program
        // wrote may show other records until the next refresh.
        current_ = now.isValid() ? model_->rowIdAt(now.row()) : 0;
        updateEnabling();
        Q_EMIT selectionChanged();
    });
    selectRow(0);
    updateEnabling();
}

QPushButton* BrowseList::standardButton(const QString& text, const QString& objectName, int at)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    buttons_->insertWidget(at, button);
    return button;
}

QPushButton* BrowseList::addButton(const QString& text, const QString& tip, const QString& objectName,
                                   bool needsRow, int at)
{
    QPushButton* button = standardButton(text, objectName, at);
    button->setToolTip(tip);
    if (needsRow)
        needRow_.push_back(button);
    updateEnabling();
    return button;
}

QAction* BrowseList::addMenuAction(const QString& text, const QString& objectName, bool needsRow)
{
    QAction* action = menu_->addAction(text);
    action->setObjectName(objectName);
    if (needsRow)
        needRowActions_.push_back(action);
    updateEnabling();
    return action;
}

void BrowseList::setStretchColumn(int column)
{
    QHeaderView* header = view_->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(column, QHeaderView::Stretch);
}

int BrowseList::preferredWidth() const
{
    const QHeaderView* header = view_->horizontalHeader();
    const int margin = 2 * view_->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view_) + 12;
    int width = 2 * view_->frameWidth() + view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view_);
    for (int c = 0; c < header->count(); ++c) {
        if (header->sectionResizeMode(c) == QHeaderView::Stretch)
            width += header->fontMetrics().horizontalAdvance(model_->headerData(c, Qt::Horizontal).toString()) + margin;
        else
            width += header->sectionSize(c);
    }
    return width;
}

QPushButton* BrowseList::addClosingButton(const QString& text, const QString& objectName)
{
    buttons_->addStretch(1);
    return standardButton(text, objectName);
}

int BrowseList::selectedRow() const
{
    const QModelIndex current = view_->currentIndex();
    return current.isValid() && view_->selectionModel()->isRowSelected(current.row(), {}) ? current.row() : -1;
}

std::int64_t BrowseList::selectedRowId() const
{
    return selectedRow() >= 0 ? current_ : 0;
}

void BrowseList::selectRow(int row)
{
    if (model_->rowCount() == 0)
        return;
    row = std::clamp(row, 0, model_->rowCount() - 1);
    const QModelIndex index = model_->index(row, 0);
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_->scrollTo(index);
}

bool BrowseList::selectRowId(std::int64_t rowid)
{
    const int row = model_->rowOf(rowid);
    if (row < 0)
        return false;
    selectRow(row);
    return true;
}

void BrowseList::refresh()
{
    const std::int64_t kept = selectedRowId();
    const int place = std::max(selectedRow(), 0);
    model_->refresh();
    // Most changes leave the highlighted record where it was: looking there
    // first spares counting the key up to it.
    if (kept != 0 && model_->rowIdAt(place) == kept)
        selectRow(place);
    else if (kept == 0 || !selectRowId(kept))
        selectRow(place);
    updateEnabling();
}

void BrowseList::setTab(int index)
{
    if (index < 0 || index >= static_cast<int>(tabList_.size()))
        return;
    if (tabBar_->currentIndex() != index) {
        const QSignalBlocker quiet(tabBar_);
        tabBar_->setCurrentIndex(index);
    }
    const std::int64_t kept = selectedRowId();
    showTab(tabList_[static_cast<std::size_t>(index)]);
    if (kept == 0 || !selectRowId(kept))
        selectRow(0);
    nameList();
    Q_EMIT tabChanged(index);
}

void BrowseList::followToDoChanges()
{
    connect(&ScheduleNotifier::instance(), &ScheduleNotifier::todoChanged, this, &BrowseList::refresh,
            Qt::UniqueConnection);
}

void BrowseList::setPrefix(std::vector<data::Value> prefix)
{
    const int index = std::max(tabBar_->currentIndex(), 0);
    if (index >= static_cast<int>(tabList_.size()))
        return;
    BrowseTab& tab = tabList_[static_cast<std::size_t>(index)];
    tab.prefix = std::move(prefix);
    showTab(tab);
    selectRow(0);
}

void BrowseList::showTab(const BrowseTab& tab)
{
    if (tab.feed)
        model_->setFeed(tab.feed, tab.key);
    else
        model_->setView(tab.key, tab.prefix, tab.restriction);
}

void BrowseList::updateEnabling()
{
    const bool any = model_->rowCount() > 0;
    for (QWidget* w : needRow_)
        w->setEnabled(any);
    for (QAction* a : needRowActions_)
        a->setEnabled(any);
}

void BrowseList::activate()
{
    if (const std::int64_t rowid = selectedRowId(); rowid != 0)
        Q_EMIT rowActivated(rowid);
}

void BrowseList::requestChange()
{
    if (const std::int64_t rowid = selectedRowId(); rowid != 0)
        Q_EMIT changeRequested(rowid);
}

void BrowseList::nameList()
{
    // A name the browser gave (or a label's) stays; the one given here follows the tab.
    if (!view_->accessibleName().isEmpty() && view_->accessibleName() != givenName_)
        return;
    if (tabList_.size() > 1)
        givenName_ = SpokenText(tabBar_->tabText(tabBar_->currentIndex()));
    else if (!tabList_.empty() && !tabList_.front().title.isEmpty())
        givenName_ = SpokenText(tabList_.front().title);
    else
        givenName_ = window()->windowTitle();
    view_->setAccessibleName(givenName_);
}

bool BrowseList::eventFilter(QObject* watched, QEvent* event)
{
    // The window's title is known by the time the list first shows.
    if (watched == view_ && event->type() == QEvent::Show)
        nameList();
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            activate();
            return true;
        }
        if (key->key() == Qt::Key_Insert && (standard_ & Add) != 0) {
            Q_EMIT insertRequested();
            return true;
        }
        if (key->key() == Qt::Key_Delete && (standard_ & Delete) != 0) {
            if (const std::int64_t rowid = selectedRowId(); rowid != 0)
                Q_EMIT deleteRequested(rowid);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace hrln::ui
