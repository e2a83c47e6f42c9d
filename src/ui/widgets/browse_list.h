#pragma once

#include "ui/widgets/browse_model.h"

#include <QColor>
#include <QWidget>

class QMenu;
class QPushButton;
class QTabBar;
class QTableView;
class QHBoxLayout;

namespace hrln::ui {

// A cell's own colour as drawn on a highlighted row: the colour itself where
// it reads well enough on `highlight` (about as well as `highlightedText`
// does), else mixed towards `highlightedText` just as far as it takes, so it
// still shows what it means.
QColor ColourOnHighlight(const QColor& own, const QColor& highlight, const QColor& highlightedText);
// The contrast of two colours, 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// One order of a browse list: a tab, the key it shows and the values it is narrowed to.
struct BrowseTab {
    QString title;
    int key = 0;
    std::vector<data::Value> prefix = {};
    data::KeyView::Restriction restriction = {};
    // Rows from a feed instead of the key (which then only positions the
    // source's buffer); the prefix and restriction do not apply.
    RowFeedFactory feed = {};
};

// The list part every browser shares: the tabs that switch the key, the list
// itself, the standard buttons and the pop-up menu with their enabling rule
// (only "&Add" while the list is empty), and a selection that survives a
// refresh while its record exists. The browser decides what the requests do.
class BrowseList : public QWidget {
    Q_OBJECT

public:
    enum Standard { Add = 1, Edit = 2, Delete = 4 };

    BrowseList(std::unique_ptr<BrowseSource> source, std::vector<BrowseTab> tabs, int standard,
               QWidget* parent = nullptr);

    BrowseModel* model() const { return model_; }
    QTableView* view() const { return view_; }
    QTabBar* tabs() const { return tabBar_; }
    QMenu* popupMenu() const { return menu_; }

    // A button of the browser's own after the standard ones (or at place `at`
    // among the buttons), enabled only while a row is selected when `needsRow`.
    QPushButton* addButton(const QString& text, const QString& tip, const QString& objectName, bool needsRow,
                           int at = -1);
    // An entry of the browser's own at the end of the pop-up menu, greyed like
    // the buttons while the list is empty when `needsRow`.
    QAction* addMenuAction(const QString& text, const QString& objectName, bool needsRow);
    // Right-aligned after everything else ("Cl&ose").
    QPushButton* addClosingButton(const QString& text, const QString& objectName);
    // Column `column` (a long text) takes the width the others leave, so that
    // every heading shows whole at the window's size; its own text is cut
    // with an ellipsis instead.
    void setStretchColumn(int column);
    // The width that shows every column at its width (a stretching one with
    // its heading whole), with the list's frame and scroll bar.
    int preferredWidth() const;

    // The row id highlighted now (0: none).
    std::int64_t selectedRowId() const;
    int selectedRow() const;
    void selectRow(int row);
    // Highlights the record with row id `rowid`; false when it is not in the list.
    bool selectRowId(std::int64_t rowid);
    // Reads the list anew and keeps the highlighted record where it still exists
    // (else the row at the same place).
    void refresh();
    void setTab(int index);
    // Refreshes whenever another window adds a to-do item (lists over the to-do list).
    void followToDoChanges();
    // Narrows the current tab's key to `prefix`.
    void setPrefix(std::vector<data::Value> prefix);

Q_SIGNALS:
    void insertRequested();
    void changeRequested(std::int64_t rowid);
    void deleteRequested(std::int64_t rowid);
    void selectionChanged();
    // Another order was chosen, by its tab or by the browser.
    void tabChanged(int index);
    // A double-click or Enter on a row: the browser's edit, or a selector's choice.
    void rowActivated(std::int64_t rowid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTab(const BrowseTab& tab);
    void updateEnabling();
    // Names the list for assistive technology after the order it shows.
    void nameList();
    void requestChange();
    void activate();
    QPushButton* standardButton(const QString& text, const QString& objectName, int at = -1);

    std::vector<BrowseTab> tabList_;
    int standard_ = 0;
    BrowseModel* model_ = nullptr;
    QTabBar* tabBar_ = nullptr;
    QTableView* view_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    QMenu* menu_ = nullptr;
    std::vector<QWidget*> needRow_;  // buttons and actions greyed while the list is empty
    std::vector<QAction*> needRowActions_;
    std::int64_t current_ = 0;  // the highlighted record's row id
    QString givenName_;         // the list's accessible name as nameList gave it
};

}  // namespace hrln::ui
