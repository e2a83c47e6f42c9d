#include "ui/widgets/qt_prompter.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace hrln::ui {
namespace {

using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageIcon;

QMessageBox::StandardButton ToQt(MessageButton b)
{
    switch (b) {
    case MessageButton::Ok: return QMessageBox::Ok;
    case MessageButton::Cancel: return QMessageBox::Cancel;
    case MessageButton::Yes: return QMessageBox::Yes;
    case MessageButton::No: return QMessageBox::No;
    case MessageButton::Retry: return QMessageBox::Retry;
    case MessageButton::Abort: return QMessageBox::Abort;
    case MessageButton::Ignore: return QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

MessageButton FromQt(int b)
{
    switch (b) {
    case QMessageBox::Cancel: return MessageButton::Cancel;
    case QMessageBox::Yes: return MessageButton::Yes;
    case QMessageBox::No: return MessageButton::No;
    case QMessageBox::Retry: return MessageButton::Retry;
    case QMessageBox::Abort: return MessageButton::Abort;
    case QMessageBox::Ignore: return MessageButton::Ignore;
    default: return MessageButton::Ok;
    }
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// The answer Escape gives: Cancel or No, or the only button.
MessageButton EscapeAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return MessageButton::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
    case MessageButtons::RetryCancel: return MessageButton::Cancel;
    case MessageButtons::YesNo: return MessageButton::No;
    case MessageButtons::AbortRetryIgnore: return MessageButton::Abort;
    }
    return MessageButton::Cancel;
}

// A key press that raised a question is spent on it. A line edit passes
// Return on to its window after its finished signal, which may have asked
// already; there it would press the default button, whose check asks again.
// So once a box is answered, the rest of the way of the key press that was
// being delivered when it was asked is dropped.
class SpentKeys : public QObject {
public:
    // A key press on its way from a widget to the widget's parents.
    struct Press {
        const QEvent* event = nullptr;
        QPointer<QWidget> at;  // where it was delivered last
        int key = 0;
        quint64 time = 0;
    };

    static SpentKeys& Instance()
    {
        static QPointer<SpentKeys> instance;
        if (instance.isNull()) {
            instance = new SpentKeys(qApp);
            qApp->installEventFilter(instance);
        }
        return *instance;
    }

    Press current() const { return current_; }
    // The press `press`, seen when the box was asked, goes no further.
    void spend(const Press& press)
    {
        current_ = press;
        spent_ = press.event != nullptr && !press.at.isNull();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        const bool onItsWay = event == current_.event && !current_.at.isNull() && !current_.at->isWindow() &&
                              widget == current_.at->parentWidget() && key->key() == current_.key &&
                              key->timestamp() == current_.time;
        if (onItsWay && spent_) {
            current_ = {};
            spent_ = false;
            key->accept();
            return true;
        }
        current_ = {event, widget, key->key(), key->timestamp()};
        spent_ = false;
        return false;
    }

private:
    explicit SpentKeys(QObject* parent) : QObject(parent)
    {
        // Back in an event loop the press's way has ended.
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
            connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { spent_ = false; });
    }

    Press current_;
    bool spent_ = false;
};

// The question's scope owner (OwnerScope), when one is set.
QPointer<QWidget> g_scopeOwner;
bool g_scoped = false;

// The messages open now. An entry finished by the focus its box takes away
// would say the same again underneath; a message already open is not
// opened twice.
std::vector<const platform::MessageBox*> g_openMessages;

bool AlreadyOpen(const platform::MessageBox& box)
{
    return box.buttons == MessageButtons::Ok &&
           std::any_of(g_openMessages.begin(), g_openMessages.end(), [&](const platform::MessageBox* open) {
               return open->buttons == box.buttons && open->text == box.text && open->caption == box.caption;
           });
}

// Gives the focus back to `focus` in `window`, which was active when asked.
void ReturnFocus(const QPointer<QWidget>& window, const QPointer<QWidget>& focus)
{
    if (window.isNull() || !window->isVisible())
        return;
    if (!focus.isNull() && focus->window() == window && focus->isVisible() && focus->isEnabled() &&
        window->focusWidget() != focus)
        focus->setFocus(Qt::OtherFocusReason);
    window->activateWindow();
}

}  // namespace

QtPrompter::QtPrompter(QWidget* owner) : owner_(owner)
{
    // Watching keys from the start: the first question may come from a key.
    if (QCoreApplication::instance() != nullptr)
        SpentKeys::Instance();
}

QtPrompter::OwnerScope::OwnerScope(QWidget* window) : previous_(g_scopeOwner), hadPrevious_(g_scoped)
{
    g_scopeOwner = window;
    g_scoped = true;
}

QtPrompter::OwnerScope::~OwnerScope()
{
    g_scopeOwner = previous_;
    g_scoped = hadPrevious_;
}

QWidget* QtPrompter::owner() const
{
    if (!owner_.isNull())
        return owner_;
    if (g_scoped && !g_scopeOwner.isNull())
        return g_scopeOwner;
    if (QWidget* active = QApplication::activeWindow(); active != nullptr && active->windowType() != Qt::Popup)
        return active;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return fallback_;
}

QString DisplayText(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar('\r'), QChar('\n'));
    return s;
}

MessageButton QtPrompter::ask(const platform::MessageBox& box)
{
    // Where the focus goes back to once answered.
    const QPointer<QWidget> active = QApplication::activeWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const SpentKeys::Press press = SpentKeys::Instance().current();
    QWidget* const owner = this->owner();
    if (AlreadyOpen(box))
        return MessageButton::Ok;
    // Failures reach standard error too, where the box cannot be seen or the
    // program was started from a terminal.
    const QByteArray said = QString::fromStdString(box.caption + ": " + box.text).toLocal8Bit();
    if (box.icon == MessageIcon::Stop)
        qCritical("%s", said.constData());
    else if (box.icon == MessageIcon::Exclamation)
        qWarning("%s", said.constData());
    else
        qDebug("%s", said.constData());
    // On the heap and watched: should its owner be deleted while it is open,
    // the box goes with it and nothing on this stack is deleted twice.
    const QPointer<QMessageBox> dialog = new QMessageBox(IconOf(box.icon), QString::fromStdString(box.caption),
                                                         DisplayText(box.text), ButtonsOf(box.buttons), owner);
    dialog->setObjectName(QStringLiteral("MESSAGEBOX"));
    dialog->setDefaultButton(ToQt(box.defaultButton));
    dialog->setEscapeButton(ToQt(EscapeAnswer(box.buttons)));
    // Modal to the window it belongs to alone: message windows stay usable.
    dialog->setWindowModality(Qt::WindowModal);
    if (box.caption.empty() && eraseTitle_) {
        // Once shown: the toolkit writes the title as it maps the window.
        QMessageBox* shown = dialog;
        QTimer::singleShot(0, shown, [this, shown] { eraseTitle_(static_cast<unsigned long>(shown->winId())); });
    }
    g_openMessages.push_back(&box);
    const int answer = dialog->exec();
    g_openMessages.erase(std::find(g_openMessages.begin(), g_openMessages.end(), &box));
    const MessageButton result = dialog.isNull() ? EscapeAnswer(box.buttons) : FromQt(answer);
    delete dialog.data();
    SpentKeys::Instance().spend(press);
    ReturnFocus(active, focus);
    return result;
}

void QtPrompter::endProgram(const std::string& message)
{
    qCritical("ending: %s", message.empty() ? "(no message)" : message.c_str());
    if (!message.empty()) {
        QMessageBox dialog(QMessageBox::Critical, QStringLiteral("Horalyn"), DisplayText(message), QMessageBox::Ok,
                           owner());
        dialog.exec();
    }
    // These endings come from failures that leave nothing to save.
    std::exit(EXIT_FAILURE);
}

}  // namespace hrln::ui
