#include "ui/frame/guide_topics.h"

#include <QHash>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <algorithm>
#include <vector>

namespace hrln::ui {
namespace {

QString Attribute(const QString& attributes, const QString& name)
{
    const QRegularExpression pattern(QStringLiteral("(?:^|\\s)%1\\s*=\\s*\"([^\"]*)\"").arg(name),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(attributes);
    return m.hasMatch() ? QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText() : QString();
}

// The text a reader sees of a piece of HTML, on one line.
QString PlainText(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

}  // namespace

QList<GuideTopic> ReadGuideTopics(const QString& html)
{
    QList<GuideTopic> topics;
    // The guide is our own, written by hand: its tags are well formed, so
    // reading start tags and the headings' text needs no full parser.
    static const QRegularExpression tag(QStringLiteral("<([a-zA-Z][a-zA-Z0-9]*)(\\s[^>]*)?>"));
    static const QRegularExpression heading(QStringLiteral("^h[23]$"), QRegularExpression::CaseInsensitiveOption);
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        const QString attributes = m.captured(2);
        const QString id = Attribute(attributes, QStringLiteral("id"));
        if (id.isEmpty())
            continue;
        if (heading.match(name).hasMatch()) {
            const qsizetype end = html.indexOf(QStringLiteral("</%1").arg(name), m.capturedEnd(), Qt::CaseInsensitive);
            if (end > 0) {
                const QString title = PlainText(html.mid(m.capturedEnd(), end - m.capturedEnd()));
                if (!title.isEmpty())
                    topics.append({title, id});
            }
        }
        for (const QString& keyword : Attribute(attributes, QStringLiteral("data-index")).split(QLatin1Char(';')))
            if (!keyword.simplified().isEmpty())
                topics.append({keyword.simplified(), id});
    }
    std::stable_sort(topics.begin(), topics.end(), [](const GuideTopic& a, const GuideTopic& b) {
        return QString::compare(a.title, b.title, Qt::CaseInsensitive) < 0;
    });
    topics.erase(std::unique(topics.begin(), topics.end()), topics.end());
    return topics;
}

QList<GuideTopic> MatchingTopics(const QList<GuideTopic>& topics, const QString& typed)
{
    const QStringList words = typed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<GuideTopic> out;
    for (const GuideTopic& topic : topics)
        if (std::all_of(words.begin(), words.end(),
                        [&](const QString& w) { return topic.title.contains(w, Qt::CaseInsensitive); }))
            out.append(topic);
    return out;
}

namespace {

// Which section each window's F1 opens.
const QHash<QString, QString>& GuideSections()
{
    struct Section {
        const char* anchor;
        std::vector<const char*> windows;
    };
    static const QHash<QString, QString> sections = [] {
        const std::vector<Section> table = {
            {"main-window", {"MAIN$APPFRAME"}},
            {"adding-tasks",
             {"ADDMESSAGEWIZARD$WINDOW", "ADDPROGRAMWIZARD$WINDOW", "ADDTASKWIZARD$WINDOW",
              "UPDATESCHEDULE$QUICKWINDOW", "CALENDAR$WINDOW"}},
            {"quick-reminder", {"QUICKREMINDER$WINDOW"}},
            {"schedule", {"BROWSESCHEDULE$QUICKWINDOW", "SELECTSCHEDULE$QUICKWINDOW"}},
            {"searching", {"SEARCHSCHEDULE$QUICKWINDOW"}},
            {"task-due", {"SHOWMESSAGE$WINDOW", "SHOWMODALMESSAGE$WINDOW"}},
            {"todo", {"VIEWTODO$QUICKWINDOW", "UPDATETODO$QUICKWINDOW"}},
            {"reports", {"REPORT$OPTIONSWINDOW", "REPORT$PREVIEWWINDOW", "PRINTSETUP$WINDOW"}},
            {"clipboard", {"BROWSECLIPBOARD$QUICKWINDOW", "UPDATECLIPBOARD$QUICKWINDOW"}},
            {"contacts",
             {"BROWSECONTACTS$QUICKWINDOW", "UPDATECONTACTS$QUICKWINDOW", "UPDATELINK$QUICKWINDOW",
              "BROWSECONTACTCATEGORIES$QUICKWINDOW", "UPDATECONTACTCATEGORIES$QUICKWINDOW",
              "SELECTCONTACTCATEGORIES$QUICKWINDOW"}},
            {"scripts", {"BROWSESCRIPTING$QUICKWINDOW", "UPDATESCRIPTING$QUICKWINDOW", "VIEWSCRIPTKEYS$VIEWWINDOW"}},
            {"window-modes", {"SCRIPTINGSTARTPROGRAMADVANCED$WINDOW"}},
            {"setup", {"SETUP$WINDOW"}},
            {"files", {"ABOUT$WINDOW"}},
            {kGuideUsingHelp, {"HELP$WINDOW"}},
        };
        QHash<QString, QString> out;
        for (const Section& section : table)
            for (const char* window : section.windows)
                out.insert(QString::fromLatin1(window), QString::fromLatin1(section.anchor));
        return out;
    }();
    return sections;
}

}  // namespace

QString GuideAnchorFor(const QString& windowName)
{
    return GuideSections().value(windowName, QString::fromLatin1(kGuideContents));
}

QStringList GuideWindowNames()
{
    return GuideSections().keys();
}

}  // namespace hrln::ui
