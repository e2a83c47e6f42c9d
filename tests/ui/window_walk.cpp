#include "window_walk.h"

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

}  // namespace hrln::test
