#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QWidget>

#include <map>
#include <vector>

namespace hrln::test {

// The keyboard faults of one window as its user sees it: two controls
// reachable together (one page of a sheet or of a stack) that share an Alt
// letter, and a label that shows its "&" because it has no buddy to take it.
// Every page of every sheet and stack is looked at in turn.
class MnemonicWalk {
public:
    explicit MnemonicWalk(QWidget* window) : window_(window) {}

    QStringList faults()
    {
        QStringList out;
        check(QStringLiteral("as opened"), out);
        for (QWidget* pages : pageHolders()) {
            const int was = index(pages);
            for (int i = 0; i < count(pages); ++i) {
                setIndex(pages, i);
                check(pages->objectName() + QStringLiteral(" page ") + QString::number(i), out);
            }
            setIndex(pages, was);
        }
        out.removeDuplicates();
        return out;
    }

private:
    static QString key(const QString& text)
    {
        const QKeySequence mnemonic = QKeySequence::mnemonic(text);
        return mnemonic.isEmpty() ? QString() : mnemonic.toString().toUpper();
    }

    // The sheets, and the stacks and tab bars not inside a sheet (a sheet
    // turns its own): a list's tabs change the buttons it shows.
    std::vector<QWidget*> pageHolders() const
    {
        std::vector<QWidget*> out;
        for (QTabWidget* tabs : window_->findChildren<QTabWidget*>())
            out.push_back(tabs);
        for (QStackedWidget* stack : window_->findChildren<QStackedWidget*>())
            if (qobject_cast<QTabWidget*>(stack->parentWidget()) == nullptr)
                out.push_back(stack);
        for (QTabBar* bar : window_->findChildren<QTabBar*>())
            if (qobject_cast<QTabWidget*>(bar->parentWidget()) == nullptr)
                out.push_back(bar);
        return out;
    }
    static int count(QWidget* w)
    {
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            return tabs->count();
        if (auto* bar = qobject_cast<QTabBar*>(w))
            return bar->count();
        return static_cast<QStackedWidget*>(w)->count();
    }
    static int index(QWidget* w)
    {
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            return tabs->currentIndex();
        if (auto* bar = qobject_cast<QTabBar*>(w))
            return bar->currentIndex();
        return static_cast<QStackedWidget*>(w)->currentIndex();
    }
    static void setIndex(QWidget* w, int i)
    {
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            tabs->setCurrentIndex(i);
        else if (auto* bar = qobject_cast<QTabBar*>(w))
            bar->setCurrentIndex(i);
        else
            static_cast<QStackedWidget*>(w)->setCurrentIndex(i);
    }

    void check(const QString& where, QStringList& out) const
    {
        std::map<QString, QString> seen;
        const QString name = window_->objectName();
        const auto use = [&](const QString& text) {
            const QString k = key(text);
            if (k.isEmpty())
                return;
            const auto [at, added] = seen.emplace(k, text);
            if (!added)
                out << QStringLiteral("%1 (%2): %3 is both \"%4\" and \"%5\"").arg(name, where, k, at->second, text);
        };
        for (QWidget* w : window_->findChildren<QWidget*>()) {
            if (w->window() != window_ || !w->isVisibleTo(window_))
                continue;
            if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                use(button->text());
            } else if (auto* label = qobject_cast<QLabel*>(w)) {
                const QString text = label->text();
                if (label->textFormat() == Qt::RichText ||
                    (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
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
    }

    QWidget* window_;
};

}  // namespace hrln::test
