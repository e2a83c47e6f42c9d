#include "ui/frame/help_window.h"

#include "ui/widgets/window_placement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

constexpr const char* kSection = "Help";
QString Title()
{
    return HelpWindow::tr("Horalyn Help");
}

// The heading a block of the guide belongs to: the nearest one at or before it.
QTextBlock SectionOf(QTextBlock block)
{
    for (; block.isValid(); block = block.previous())
        if (block.blockFormat().headingLevel() > 0)
            return block;
    return {};
}

QTextBlock BlockOfAnchor(const QTextDocument* document, const QString& anchor)
{
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return block;
    return {};
}

QPushButton* Button(const QString& text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

HelpWindow::HelpWindow(const QString& guide, data::ProfileFile& positions, QWidget* parent)
    : QWidget(parent, Qt::Window), guide_(guide), positions_(positions)
{
    setObjectName(QStringLiteral("HELP$WINDOW"));
    setWindowTitle(Title());
    setAttribute(Qt::WA_DeleteOnClose);

    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("helpText"));
    text_->setOpenExternalLinks(true);
    text_->setSource(QUrl::fromLocalFile(guide));
    QFile file(guide);
    if (file.open(QIODevice::ReadOnly))
        topics_ = ReadGuideTopics(QString::fromUtf8(file.readAll()));

    auto* back = Button(tr("&Back"), "backButton", this);
    back->setEnabled(false);
    connect(back, &QPushButton::clicked, text_, &QTextBrowser::backward);
    connect(text_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    auto* contents = Button(tr("&Contents"), "contentsButton", this);
    connect(contents, &QPushButton::clicked, this,
            [this] { showAnchor(QString::fromLatin1(kGuideContents)); });
    auto* browser = Button(tr("Open in B&rowser"), "browserButton", this);
    connect(browser, &QPushButton::clicked, this, [this] { QDesktopServices::openUrl(text_->source()); });
    auto* close = Button(tr("Cl&ose"), "closeButton", this);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    // The title names the section shown, so that the desktop's window list tells where the guide is open.
    connect(text_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const QTextBlock heading = SectionOf(BlockOfAnchor(text_->document(), url.fragment()));
        setWindowTitle(heading.isValid() && heading.blockFormat().headingLevel() > 1
                           ? Title() + QStringLiteral(" - ") + heading.text()
                           : Title());
    });

    auto* split = new QSplitter(this);
    split->setObjectName(QStringLiteral("helpSplitter"));
    split->setChildrenCollapsible(false);
    split->addWidget(buildIndex());
    split->addWidget(text_);
    split->setStretchFactor(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(browser);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    ResizeWithin(this, QSize(900, 600));
    split->setSizes({240, width() - 240});
    RestoreWindowPosition(this, positions_, QString::fromLatin1(kSection));
    // A place saved on a larger screen, or a size grown by hand, still opens whole on this one.
    KeepWithinScreen(this);
}

QWidget* HelpWindow::buildIndex()
{
    auto* pane = new QWidget(this);
    pane->setObjectName(QStringLiteral("indexPane"));
    topicEdit_ = new QLineEdit(pane);
    topicEdit_->setObjectName(QStringLiteral("topicEdit"));
    topicEdit_->setClearButtonEnabled(true);
    topicEdit_->setPlaceholderText(tr("A word to look for"));
    topicEdit_->installEventFilter(this);
    auto* find = new QLabel(tr("&Find:"), pane);
    find->setBuddy(topicEdit_);
    topicList_ = new QListWidget(pane);
    topicList_->setObjectName(QStringLiteral("topicList"));
    // The list has no label of its own: "Find:" names the field that narrows it.
    topicList_->setAccessibleName(tr("Topics"));
    auto* display = Button(tr("&Display"), "displayButton", pane);
    auto* search = Button(tr("Search &Text"), "searchTextButton", pane);
    search->setToolTip(tr("Look for the words in the whole guide, not only in its index"));
    matchList_ = new QListWidget(pane);
    matchList_->setObjectName(QStringLiteral("matchList"));
    auto* matches = new QLabel(tr("&Places found:"), pane);
    matches->setBuddy(matchList_);
    matchList_->setAccessibleName(tr("Places found:"));

    connect(topicEdit_, &QLineEdit::textChanged, this, &HelpWindow::narrowTopics);
    connect(topicEdit_, &QLineEdit::returnPressed, this, &HelpWindow::onEnterInField);
    connect(topicList_, &QListWidget::itemActivated, this, &HelpWindow::displayTopic);
    connect(display, &QPushButton::clicked, this, [this] { displayTopic(topicList_->currentItem()); });
    connect(search, &QPushButton::clicked, this, [this] { searchText(topicEdit_->text()); });
    connect(matchList_, &QListWidget::itemActivated, this, [this](const QListWidgetItem* item) {
        if (item != nullptr && item->data(Qt::UserRole).isValid())
            showMatch(item->data(Qt::UserRole).toInt());
    });

    auto* row = new QHBoxLayout;
    row->addWidget(display);
    row->addWidget(search);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(find);
    layout->addWidget(topicEdit_);
    layout->addWidget(topicList_, 3);
    layout->addLayout(row);
    layout->addWidget(matches);
    layout->addWidget(matchList_, 1);
    narrowTopics();
    return pane;
}

void HelpWindow::showAnchor(const QString& anchor)
{
    QUrl url = QUrl::fromLocalFile(guide_);
    url.setFragment(anchor);
    // The same place again would not move the view if the reader scrolled away since.
    if (text_->source() == url)
        text_->scrollToAnchor(anchor);
    else
        text_->setSource(url);
}

void HelpWindow::showIndex()
{
    topicEdit_->setFocus(Qt::OtherFocusReason);
    topicEdit_->selectAll();
}

void HelpWindow::narrowTopics()
{
    topicList_->clear();
    for (const GuideTopic& topic : MatchingTopics(topics_, topicEdit_->text())) {
        auto* item = new QListWidgetItem(topic.title, topicList_);
        item->setData(Qt::UserRole, topic.anchor);
    }
    if (topicList_->count() > 0)
        topicList_->setCurrentRow(0);
}

void HelpWindow::displayTopic(const QListWidgetItem* item)
{
    if (item != nullptr)
        showAnchor(item->data(Qt::UserRole).toString());
}

void HelpWindow::onEnterInField()
{
    // A word the index does not know is looked for in the text.
    if (topicList_->count() == 0)
        searchText(topicEdit_->text());
    else
        displayTopic(topicList_->currentItem());
}

int HelpWindow::searchText(const QString& words)
{
    searched_ = words.simplified();
    matchList_->clear();
    QList<QTextEdit::ExtraSelection> marks;
    QTextCharFormat mark;
    mark.setBackground(QColor(0xFF, 0xE0, 0x66));
    mark.setForeground(QColor(0x1F, 0x2A, 0x36));
    const QTextDocument* document = text_->document();
    QListWidgetItem* item = nullptr;
    int section = -2;
    int inSection = 0;
    if (!searched_.isEmpty()) {
        for (QTextCursor found = document->find(searched_); !found.isNull(); found = document->find(searched_, found)) {
            marks.append({found, mark});
            const QTextBlock heading = SectionOf(found.block());
            const int here = heading.isValid() ? heading.blockNumber() : -1;
            if (item == nullptr || here != section) {
                item = new QListWidgetItem(matchList_);
                item->setData(Qt::UserRole, found.selectionStart());
                section = here;
                inSection = 0;
            }
            ++inSection;
            const QString title = heading.isValid() ? heading.text() : text_->documentTitle();
            item->setText(inSection == 1 ? title : QStringLiteral("%1 (%2)").arg(title).arg(inSection));
            item->setToolTip(item->text());  // a long heading is cut in the narrow list
        }
    }
    text_->setExtraSelections(marks);
    if (marks.isEmpty()) {
        auto* none = new QListWidgetItem(tr("Not found"), matchList_);
        none->setFlags(Qt::NoItemFlags);
        return 0;
    }
    matchList_->setCurrentRow(0);
    showMatch(marks.front().cursor.selectionStart());
    return static_cast<int>(marks.size());
}

void HelpWindow::showMatch(int position)
{
    QTextCursor at = text_->document()->find(searched_, position);
    if (at.isNull())
        return;
    text_->setTextCursor(at);
    text_->ensureCursorVisible();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The arrow keys in the field move through the topics, as in a combo box's list.
    if (watched == topicEdit_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(topicList_, event);
            return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    SaveWindowPosition(this, positions_, QString::fromLatin1(kSection));
    QWidget::closeEvent(event);
}

}  // namespace hrln::ui
