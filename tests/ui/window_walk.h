#pragma once

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStackedWidget>
#include <QStringList>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

namespace hrln::test {

// Shows every page of every sheet and stack of `window` in turn (one at a
// time, the others as opened) and calls `visit` with where it stands.
void VisitPages(QWidget* window, const std::function<void(const QString& where)>& visit);

// Two controls reachable together that share an Alt letter, and a label that
// shows its "&" because it has no buddy to take it.
QStringList SharedMnemonics(QWidget* window, const QString& where);

// What of `window` shows cut at its present size: a button, label, heading or
// cell (other than a long text's stretching column) narrower than its text.
QStringList CutTexts(QWidget* window);

// The title a desktop shows whole in `shown`: its text and room for the
// icon and the window's buttons.
QStringList CutTitle(QWidget* shown, const QString& title);

// Every fault of both kinds on every page of `window`.
QStringList WindowFaults(QWidget* window);

// What assistive technology cannot name on the page of `window` shown now: a
// control the user reaches or works whose accessible interface has no name, a
// list column without a heading name, a cell that shows only an icon and
// says nothing.
QStringList NamelessControls(QWidget* window, const QString& where);

// The entries of `menu` (and its submenus) that assistive technology cannot name.
QStringList NamelessMenuEntries(QMenu* menu);

// The English texts of `catalogue` (a .ts file) whose translation differs:
// what a translated window must not show any more.
QSet<QString> TranslatedSources(const QString& catalogue);

// What every page of `window` still shows in English though its
// translation differs: titles, labels, buttons, group boxes, tabs, headings,
// list entries, tips and the hints in empty fields.
QStringList UntranslatedTexts(QWidget* window, const QSet<QString>& english);

// Every control without a name on every page of `window`.
QStringList AccessibilityFaults(QWidget* window);

}  // namespace hrln::test
