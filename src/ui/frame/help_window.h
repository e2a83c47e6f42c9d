#pragma once

#include "data/profile_file.h"
#include "ui/frame/guide_topics.h"

#include <QList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;

namespace hrln::ui {

// The user guide in the program's own window: it needs no browser, follows
// the guide's own links, and opens links to the outside in the desktop's browser.
// Beside the text, an index of the guide's topics and a search of its text.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(const QString& guide, data::ProfileFile& positions, QWidget* parent = nullptr);

    // Shows the guide at the element with id `anchor`.
    void showAnchor(const QString& anchor);
    // Puts the keyboard in the index's field, ready for a word.
    void showIndex();
    // Lists the sections whose text holds `words` and shows the first place, highlighted.
    // How many places hold them.
    int searchText(const QString& words);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildIndex();
    void narrowTopics();
    void displayTopic(const QListWidgetItem* item);
    void showMatch(int position);
    void onEnterInField();

    QString guide_;
    QTextBrowser* text_;
    QLineEdit* topicEdit_ = nullptr;
    QListWidget* topicList_ = nullptr;
    QListWidget* matchList_ = nullptr;
    QList<GuideTopic> topics_;
    QString searched_;
    data::ProfileFile& positions_;
};

}  // namespace hrln::ui
