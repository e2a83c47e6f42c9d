#include "window_walk.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QFile>
#include <QXmlStreamReader>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>

namespace hrln::test {

namespace {

QString Plain(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text;
}

QString Key(const QString& text)
{
    const QKeySequence mnemonic = QKeySequence::mnemonic(text);
    return mnemonic.isEmpty() ? QString() : mnemonic.toString().toUpper();
}

// A sheet, a stack not inside a sheet, or a tab bar not inside a sheet (a
// list's tabs change the buttons it shows), seen as one thing that turns pages.
struct Pages {
    QWidget* w;
    int count() const
    {
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            return tabs->count();
        if (auto* bar = qobject_cast<QTabBar*>(w))
            return bar->count();
        return static_cast<QStackedWidget*>(w)->count();
    }
    int index() const
    {
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            return tabs->currentIndex();
        if (auto* bar = qobject_cast<QTabBar*>(w))
            return bar->currentIndex();
        return static_cast<QStackedWidget*>(w)->currentIndex();
    }
    void setIndex(int i) const
    {
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            tabs->setCurrentIndex(i);
        else if (auto* bar = qobject_cast<QTabBar*>(w))
            bar->setCurrentIndex(i);
        else
            static_cast<QStackedWidget*>(w)->setCurrentIndex(i);
    }
};

std::vector<Pages> PageHolders(QWidget* window)
{
    std::vector<Pages> out;
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
        out.push_back({tabs});
    for (QStackedWidget* stack : window->findChildren<QStackedWidget*>())
        if (qobject_cast<QTabWidget*>(stack->parentWidget()) == nullptr)
            out.push_back({stack});
    for (QTabBar* bar : window->findChildren<QTabBar*>())
        if (qobject_cast<QTabWidget*>(bar->parentWidget()) == nullptr)
            out.push_back({bar});
    return out;
}

QString Fault(QWidget* window, const QString& what, const QString& text, int needed, int has)
{
    return QStringLiteral("%1: %2 \"%3\" needs %4, has %5")
        .arg(window->objectName(), what, text, QString::number(needed), QString::number(has));
}

// The width column `c` shows of its text: 0 for a column the user reaches by
// scrolling (past the edge, or cut by it in a list that scrolls sideways).
int ShownWidth(const QTableView* view, int c)
{
    const QHeaderView* header = view->horizontalHeader();
    const int room = header->viewport()->width() - header->sectionViewportPosition(c);
    if (room >= header->sectionSize(c))
        return header->sectionSize(c);
    return view->horizontalScrollBar()->maximum() > 0 ? 0 : room;
}

void CutCells(QWidget* window, QTableView* view, QStringList& faults)
{
    const QHeaderView* header = view->horizontalHeader();
    const QAbstractItemModel* model = view->model();
    // The room a delegate leaves around a cell's text.
    const int margin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    const int iconRoom = view->iconSize().isValid() ? view->iconSize().width() : 16;
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c) || header->sectionResizeMode(c) == QHeaderView::Stretch)
            continue;
        const int shown = ShownWidth(view, c);
        if (shown <= 0)
            continue;
        for (int r = 0; r < model->rowCount(); ++r) {
            const QModelIndex at = model->index(r, c);
            if (view->visualRect(at).top() > view->viewport()->height())
                break;
            const QString text = at.data(Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            int needed = view->fontMetrics().horizontalAdvance(text) + margin;
            if (!at.data(Qt::DecorationRole).isNull())
                needed += iconRoom + margin / 2;
            if (needed > shown)
                faults << Fault(window, QStringLiteral("cell"), text, needed, shown);
        }
    }
}

// The roles of what a user works or reads as a control; a cell, a heading or
// a list row is named by the list it belongs to (checked with the list).
bool IsControlRole(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Cell:
    case QAccessible::Row:
    case QAccessible::RowHeader:
    case QAccessible::ColumnHeader:
    case QAccessible::ListItem:
    case QAccessible::TreeItem:
    case QAccessible::ScrollBar:
    case QAccessible::MenuItem:
    case QAccessible::Separator:
    case QAccessible::Grip:
    case QAccessible::StaticText:
        return false;
    default:
        return true;
    }
}

// A frame around other controls (a sheet that hands its focus to its tabs):
// named only when it can itself be worked.
bool IsContainerRole(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Client:
    case QAccessible::Pane:
    case QAccessible::Grouping:
    case QAccessible::Window:
    case QAccessible::Dialog:
    case QAccessible::PropertyPage:
        return true;
    default:
        return false;
    }
}

bool NeedsName(QAccessibleInterface* at)
{
    if (!IsControlRole(at->role()))
        return false;
    // Greyed and out of the focus chain: a place holder, not a control.
    if (at->state().disabled && !at->state().focusable)
        return false;
    if (at->state().focusable && !IsContainerRole(at->role()))
        return true;
    switch (at->role()) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::ComboBox:
    case QAccessible::Table:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::PageTab:
    case QAccessible::ToolBar:
        return true;
    default:
        break;
    }
    // Any action beyond taking the focus makes it a control.
    QAccessibleActionInterface* actions = at->actionInterface();
    if (actions == nullptr || IsContainerRole(at->role()))
        return false;
    QStringList names = actions->actionNames();
    names.removeAll(QAccessibleActionInterface::setFocusAction());
    return !names.isEmpty();
}

// Who `at` is, for a fault: its kind and object name, or its place among
// its parent's children when it is no object of its own (a tab).
QString Describe(QAccessibleInterface* at)
{
    const QString role = QString::number(static_cast<int>(at->role()), 16);
    if (QObject* object = at->object(); object != nullptr)
        return QStringLiteral("%1 \"%2\" (role 0x%3)")
            .arg(QString::fromLatin1(object->metaObject()->className()), object->objectName(), role);
    QAccessibleInterface* parent = at->parent();
    const QString owner = parent != nullptr && parent->object() != nullptr ? parent->object()->objectName() : QString();
    return QStringLiteral("item %1 of \"%2\" (role 0x%3)")
        .arg(QString::number(parent != nullptr ? parent->indexOfChild(at) : -1), owner, role);
}

// A list's headings and the cells of its first rows: each heading named, and
// no cell that shows an icon without a text.
void NamelessInTable(QAccessibleInterface* at, const QString& prefix, QStringList& out)
{
    auto* view = qobject_cast<QTableView*>(at->object());
    if (view == nullptr || view->model() == nullptr)
        return;
    // A list hears of its model's changes only while assistive technology
    // listens (none does offscreen): an interface made now reads it as it is.
    if (!QAccessible::isActive()) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(at));
        at = QAccessible::queryAccessibleInterface(view);
    }
    QAccessibleTableInterface* table = at->tableInterface();
    if (table == nullptr)
        return;
    const QAbstractItemModel* model = view->model();
    for (int i = 0; i < at->childCount(); ++i) {
        QAccessibleInterface* heading = at->child(i);
        if (heading != nullptr && heading->role() == QAccessible::ColumnHeader && !heading->state().invisible &&
            heading->text(QAccessible::Name).isEmpty())
            out << prefix + QStringLiteral("heading %1 of \"%2\" has no name").arg(i).arg(view->objectName());
    }
    constexpr int kRowsLooked = 3;
    for (int r = 0; r < std::min(table->rowCount(), kRowsLooked); ++r)
        for (int c = 0; c < table->columnCount(); ++c) {
            if (view->isColumnHidden(c))
                continue;
            QAccessibleInterface* cell = table->cellAt(r, c);
            const bool shows = !model->index(r, c).data(Qt::DisplayRole).toString().isEmpty() ||
                               !model->index(r, c).data(Qt::DecorationRole).isNull();
            if (cell != nullptr && shows && cell->text(QAccessible::Name).isEmpty())
                out << prefix + QStringLiteral("cell %1,%2 of \"%3\" shows what it does not say")
                                    .arg(r)
                                    .arg(c)
                                    .arg(view->objectName());
        }
}

void NamelessUnder(QAccessibleInterface* at, const QString& prefix, QStringList& out, int depth)
{
    // Deep enough for any window here; a guard against a cycle in a custom interface.
    constexpr int kDeepest = 40;
    if (at == nullptr || depth > kDeepest || at->state().invisible)
        return;
    if (NeedsName(at) && at->text(QAccessible::Name).trimmed().isEmpty())
        out << prefix + Describe(at) + QStringLiteral(" has no name");
    if (at->role() == QAccessible::Table) {
        NamelessInTable(at, prefix, out);
        return;
    }
    for (int i = 0; i < at->childCount(); ++i) {
        QAccessibleInterface* child = at->child(i);
        // Another top-level window (a menu, a pop-up) is walked when it shows.
        if (child != nullptr && child->object() != nullptr && child->object()->isWidgetType() &&
            static_cast<QWidget*>(child->object())->isWindow())
            continue;
        NamelessUnder(child, prefix, out, depth + 1);
    }
}

}  // namespace

void VisitPages(QWidget* window, const std::function<void(const QString& where)>& visit)
{
    visit(QStringLiteral("as opened"));
    for (const Pages& pages : PageHolders(window)) {
        const int was = pages.index();
        for (int i = 0; i < pages.count(); ++i) {
            pages.setIndex(i);
            visit(pages.w->objectName() + QStringLiteral(" page ") + QString::number(i));
        }
        pages.setIndex(was);
    }
}

QStringList SharedMnemonics(QWidget* window, const QString& where)
{
    QStringList out;
    std::map<QString, QString> seen;
    const QString name = window->objectName();
    const auto use = [&](const QString& text) {
        const QString k = Key(text);
        if (k.isEmpty())
            return;
        const auto [at, added] = seen.emplace(k, text);
        if (!added)
            out << QStringLiteral("%1 (%2): %3 is both \"%4\" and \"%5\"").arg(name, where, k, at->second, text);
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            use(button->text());
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            const QString text = label->text();
            if (label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
                continue;
            if (!QString(text).remove(QStringLiteral("&&")).contains(QLatin1Char('&')))
                continue;
            if (label->buddy() == nullptr)
                out << QStringLiteral("%1 (%2): \"%3\" shows its \"&\"").arg(name, where, text);
            else
                use(text);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            use(group->title());
        } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < bar->count(); ++i)
                if (bar->isTabVisible(i))
                    use(bar->tabText(i));
        } else if (auto* menus = qobject_cast<QMenuBar*>(w)) {
            for (const QAction* action : menus->actions())
                if (action->isVisible())
                    use(action->text());
        }
    }
    // Each menu is a scope of its own: its entries share no letter.
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        std::map<QString, QString> inMenu;
        for (const QAction* action : menu->actions()) {
            const QString k = Key(action->text());
            if (!action->isVisible() || action->isSeparator() || k.isEmpty())
                continue;
            const auto [at, added] = inMenu.emplace(k, action->text());
            if (!added)
                out << QStringLiteral("%1 (menu %2): %3 is both \"%4\" and \"%5\"")
                           .arg(name, menu->title(), k, at->second, action->text());
        }
    }
    return out;
}

QStringList CutTexts(QWidget* window)
{
    QStringList faults;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty() || qobject_cast<QToolButton*>(button) != nullptr)
            continue;
        // A push button: what the style asks for the text, or the text with
        // its margins; a check box or radio button: its indicator and text.
        const int margin = 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const int needed =
            qobject_cast<QPushButton*>(button) == nullptr
                ? button->sizeHint().width()
                : std::min(button->sizeHint().width(),
                           button->fontMetrics().horizontalAdvance(Plain(button->text())) + margin);
        if (needed > button->width())
            faults << Fault(window, QStringLiteral("button"), button->text(), needed, button->width());
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->wordWrap() || label->text().isEmpty() || Qt::mightBeRichText(label->text()))
            continue;
        int needed = 0;
        for (const QString& line : Plain(label->text()).split(QLatin1Char('\n')))
            needed = std::max(needed, label->fontMetrics().horizontalAdvance(line));
        if (needed > label->contentsRect().width())
            faults << Fault(window, QStringLiteral("label"), label->text(), needed, label->contentsRect().width());
    }
    for (QTableView* view : window->findChildren<QTableView*>()) {
        if (!view->isVisible())
            continue;
        QHeaderView* header = view->horizontalHeader();
        const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const QString heading = view->model()->headerData(c, Qt::Horizontal).toString();
            const int needed = header->fontMetrics().horizontalAdvance(heading) + margin;
            const int shown = ShownWidth(view, c);
            if (!heading.isEmpty() && shown > 0 && needed > shown)
                faults << Fault(window, QStringLiteral("heading"), heading, needed, shown);
        }
        CutCells(window, view, faults);
    }
    return faults;
}

QStringList CutTitle(QWidget* shown, const QString& title)
{
    constexpr int kTitleBarRoom = 120;
    const int needed = QFontMetrics(QApplication::font()).horizontalAdvance(title) + kTitleBarRoom;
    if (needed > shown->width())
        return {Fault(shown, QStringLiteral("title"), title, needed, shown->width())};
    return {};
}

QStringList WindowFaults(QWidget* window)
{
    QStringList out = CutTitle(window, window->windowTitle());
    VisitPages(window, [&](const QString& where) {
        QApplication::processEvents();
        out << SharedMnemonics(window, where);
        for (const QString& cut : CutTexts(window))
            out << cut + QStringLiteral(" (") + where + QLatin1Char(')');
    });
    out.removeDuplicates();
    return out;
}

QStringList NamelessControls(QWidget* window, const QString& where)
{
    QStringList out;
    NamelessUnder(QAccessible::queryAccessibleInterface(window), window->objectName() + QStringLiteral(": "), out, 0);
    for (QString& fault : out)
        fault += QStringLiteral(" (") + where + QLatin1Char(')');
    return out;
}

QStringList NamelessMenuEntries(QMenu* menu)
{
    QStringList out;
    QAccessibleInterface* at = QAccessible::queryAccessibleInterface(menu);
    if (at == nullptr)
        return {QStringLiteral("menu \"%1\" has no accessible interface").arg(menu->objectName())};
    for (int i = 0; i < at->childCount(); ++i) {
        QAccessibleInterface* entry = at->child(i);
        if (entry == nullptr || entry->role() == QAccessible::Separator)
            continue;
        if (entry->text(QAccessible::Name).trimmed().isEmpty())
            out << QStringLiteral("entry %1 of menu \"%2\" has no name").arg(i).arg(menu->objectName());
    }
    for (QAction* action : menu->actions())
        if (action->menu() != nullptr)
            out << NamelessMenuEntries(action->menu());
    return out;
}

QStringList AccessibilityFaults(QWidget* window)
{
    // A control seen on several pages is told once, with the first page it shows on.
    QStringList out;
    std::map<QString, bool> told;
    VisitPages(window, [&](const QString& where) {
        QApplication::processEvents();
        for (const QString& fault : NamelessControls(window, where)) {
            const QString what = fault.left(fault.lastIndexOf(QStringLiteral(" (")));
            if (told.emplace(what, true).second)
                out << fault;
        }
    });
    return out;
}

}  // namespace hrln::test

namespace hrln::test {

QSet<QString> TranslatedSources(const QString& catalogue)
{
    QSet<QString> out;
    QFile file(catalogue);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader xml(&file);
    QString source;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QStringLiteral("source")) {
            source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.name() == QStringLiteral("translation")) {
            const QString translated = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (!translated.isEmpty() && translated != source)
                out.insert(source);
        }
    }
    return out;
}

QStringList UntranslatedTexts(QWidget* window, const QSet<QString>& english)
{
    QStringList out;
    const auto check = [&](const QString& text, const QString& where) {
        if (english.contains(text))
            out << window->objectName() + QStringLiteral(": \"") + text + QStringLiteral("\" (") + where + QLatin1Char(')');
    };
    check(window->windowTitle(), QStringLiteral("title"));
    VisitPages(window, [&](const QString& where) {
        QApplication::processEvents();
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->window() != window || !w->isVisibleTo(window))
                continue;
            check(w->toolTip(), where);
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                check(edit->placeholderText(), where);
            if (auto* label = qobject_cast<QLabel*>(w))
                check(label->text(), where);
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                check(button->text(), where);
            else if (auto* box = qobject_cast<QGroupBox*>(w))
                check(box->title(), where);
            else if (auto* tabs = qobject_cast<QTabBar*>(w))
                for (int i = 0; i < tabs->count(); ++i)
                    check(tabs->tabText(i), where);
            else if (auto* combo = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < combo->count(); ++i)
                    check(combo->itemText(i), where);
            else if (auto* header = qobject_cast<QHeaderView*>(w); header != nullptr && header->model() != nullptr)
                for (int i = 0; i < header->count(); ++i)
                    check(header->model()->headerData(i, header->orientation()).toString(), where);
        }
    });
    out.removeDuplicates();
    return out;
}

}  // namespace hrln::test
