// A box with an empty caption shows an empty title to the desktop, not the
// program's name that Qt puts in its place.
#include "e2e/qt_desktop.h"
#include "ui/widgets/qt_prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Xlib last: its macros clash with Qt's names.
#include "platform/x11/window_properties.h"
#include "platform/x11/window_title.h"

#include <X11/Xutil.h>

namespace hrln::test {
namespace {

struct Titles {
    std::string wmName;
    std::string netWmName;
};

// What the desktop reads of the open box's title, read while it is open.
Titles AskAndRead(ui::QtPrompter& prompter, platform::x11::X11Connection& x11)
{
    Titles seen;
    QTimer::singleShot(300, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr)
            return;
        const auto window = static_cast<Window>(box->winId());
        platform::x11::X11ErrorTrap trap(x11.display());
        char* name = nullptr;
        if (XFetchName(x11.display(), window, &name) != 0 && name != nullptr) {
            seen.wmName = name;
            XFree(name);
        }
        if (platform::x11::HasProperty(x11.display(), window, static_cast<Atom>(x11.atom("_NET_WM_NAME"))))
            seen.netWmName = platform::x11::ReadTitle(x11.display(), window);
        trap.failed();
        static_cast<QMessageBox*>(box)->done(QMessageBox::Ok);
    });
    prompter.ask({"Call the dentist", ""});
    return seen;
}

TEST(PrompterTitleTest, AnEmptyCaptionStaysEmptyInEveryTitleProperty)
{
    HRLN_NEEDS_QT_DESKTOP();
    platform::x11::X11Connection x11;
    ASSERT_TRUE(x11.isOpen());
    ui::QtPrompter prompter;

    // Left to Qt, the program's name fills the empty caption.
    const Titles plain = AskAndRead(prompter, x11);
    EXPECT_FALSE(plain.wmName.empty() && plain.netWmName.empty());

    prompter.setTitleEraser([&x11](unsigned long window) { platform::x11::ClearWindowTitle(x11, window); });
    const Titles erased = AskAndRead(prompter, x11);
    EXPECT_EQ(erased.wmName, "");
    EXPECT_EQ(erased.netWmName, "");
}

}  // namespace
}  // namespace hrln::test

int main(int argc, char** argv)
{
    return hrln::test::RunQtDesktopTests(argc, argv);
}
