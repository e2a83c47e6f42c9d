#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace hrln::ui {

// A place in the user guide the help window's index offers: a heading, or a
// keyword the guide files under a place of its own.
struct GuideTopic {
    QString title;
    QString anchor;  // the id of the element it leads to
    bool operator==(const GuideTopic&) const = default;
};

// The guide's anchors the Help menu opens at.
inline constexpr const char* kGuideContents = "contents";
inline constexpr const char* kGuideUsingHelp = "using-help";

// The index of the guide's HTML: every h2 and h3 with an id, by its text, and
// every keyword of a data-index attribute ("a; b") on an element with an id.
// Sorted by title, whatever the case; the same title and place only once.
QList<GuideTopic> ReadGuideTopics(const QString& html);

// The topics whose title holds every word of `typed`, whatever the case; all of them for nothing typed.
QList<GuideTopic> MatchingTopics(const QList<GuideTopic>& topics, const QString& typed);

// The guide's section about a window, by the window's object name; the
// contents for a window the guide has no section for.
QString GuideAnchorFor(const QString& windowName);
// The object names of the windows the guide has a section for.
QStringList GuideWindowNames();

}  // namespace hrln::ui
