#include "platform/x11/x11_windows.h"

#include "platform/x11/window_properties.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <unistd.h>

#include <algorithm>

namespace hrln::platform::x11 {

namespace {

constexpr long kSourcePager = 2;  // EWMH: the request comes from a pager, so it is honoured
constexpr long kStateRemove = 0;
constexpr long kStateAdd = 1;
constexpr int kMaxFrameDepth = 3;

// The client window inside a window manager's frame: the first descendant
// carrying WM_STATE.
Window FindClient(Display* display, Window window, Atom wmState, int depth)
{
    if (HasProperty(display, window, wmState))
        return window;
    if (depth == 0)
        return None;
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
        return None;
    Window found = None;
    for (unsigned int i = 0; i < count && found == None; ++i)
        found = FindClient(display, children[i], wmState, depth - 1);
    if (children != nullptr)
        XFree(children);
    return found;
}

}  // namespace

std::vector<TopLevelWindow> X11Windows::topLevelWindows()
{
    std::vector<TopLevelWindow> list;
    if (!x_.isOpen())
        return list;
    X11ErrorTrap trap(x_.display());
    for (const unsigned long w : allFrontToBack()) {
        std::string title = ReadTitle(x_.display(), w);
        if (!title.empty())
            list.push_back({w, std::move(title)});
    }
    return list;
}

bool X11Windows::managerSupports(const char* hint)
{
    Display* d = x_.display();
    // A manager that died leaves its properties behind: its check window tells.
    const Atom check = x_.atom("_NET_SUPPORTING_WM_CHECK");
    const std::vector<unsigned long> wm = ReadLongs(d, x_.root(), check, XA_WINDOW);
    if (wm.empty() || ReadLongs(d, wm.front(), check, XA_WINDOW) != wm)
        return false;
    const std::vector<unsigned long> supported = ReadLongs(d, x_.root(), x_.atom("_NET_SUPPORTED"), XA_ATOM);
    return std::find(supported.begin(), supported.end(), x_.atom(hint)) != supported.end();
}

std::vector<unsigned long> X11Windows::clientsFrontToBack()
{
    if (!managerSupports("_NET_CLIENT_LIST_STACKING"))
        return {};
    const std::vector<unsigned long> stacking =
        ReadLongs(x_.display(), x_.root(), x_.atom("_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
    // The list runs bottom to top.
    return {stacking.rbegin(), stacking.rend()};
}

std::vector<unsigned long> X11Windows::allFrontToBack()
{
    // The manager's list holds only the windows it manages; hidden ones
    // (never shown, or withdrawn again) sit unmanaged beside the frames, so
    // the tree is walked too and its windows the list lacks come after.
    std::vector<unsigned long> order = clientsFrontToBack();
    for (const unsigned long w : treeFrontToBack())
        if (std::find(order.begin(), order.end(), w) == order.end())
            order.push_back(w);
    return order;
}

std::vector<unsigned long> X11Windows::treeFrontToBack()
{
    Display* d = x_.display();
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, x_.root(), &root, &parent, &children, &count) == 0)
        return {};
    const Atom wmState = x_.atom("WM_STATE");
    std::vector<unsigned long> order;
    // Children come bottom to top.
    for (unsigned int i = count; i-- > 0;) {
        const Window client = FindClient(d, children[i], wmState, kMaxFrameDepth);
        order.push_back(client != None ? client : children[i]);
    }
    if (children != nullptr)
        XFree(children);
    return order;
}

void X11Windows::sendToRoot(unsigned long window, const char* messageType, long a, long b, long c)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = x_.atom(messageType);
    event.xclient.format = 32;
    event.xclient.data.l[0] = a;
    event.xclient.data.l[1] = b;
    event.xclient.data.l[2] = c;
    XSendEvent(x_.display(), x_.root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void X11Windows::activate(WindowHandle handle)
{
    if (!x_.isOpen() || handle == 0)
        return;
    X11ErrorTrap trap(x_.display());
    const Window w = static_cast<Window>(handle);
    if (managerSupports("_NET_ACTIVE_WINDOW")) {
        // The manager raises, deiconifies and focuses as it does for a click.
        sendToRoot(w, "_NET_ACTIVE_WINDOW", kSourcePager, CurrentTime, 0);
    } else {
        XMapRaised(x_.display(), w);
        XSetInputFocus(x_.display(), w, RevertToPointerRoot, CurrentTime);
    }
    XFlush(x_.display());
}

void X11Windows::restore(WindowHandle handle)
{
    if (!x_.isOpen() || handle == 0)
        return;
    X11ErrorTrap trap(x_.display());
    const Window w = static_cast<Window>(handle);
    // Mapping an iconic window is the standard way to deiconify it.
    XMapRaised(x_.display(), w);
    if (managerSupports("_NET_WM_STATE"))
        sendToRoot(w, "_NET_WM_STATE", kStateRemove, static_cast<long>(x_.atom("_NET_WM_STATE_MAXIMIZED_VERT")),
                   static_cast<long>(x_.atom("_NET_WM_STATE_MAXIMIZED_HORZ")));
    XFlush(x_.display());
}

void X11Windows::postCloseRequest(WindowHandle handle)
{
    if (!x_.isOpen() || handle == 0)
        return;
    Display* d = x_.display();
    X11ErrorTrap trap(d);
    const Window w = static_cast<Window>(handle);
    const Atom deleteWindow = x_.atom("WM_DELETE_WINDOW");
    Atom* protocols = nullptr;
    int count = 0;
    bool understandsDelete = false;
    if (XGetWMProtocols(d, w, &protocols, &count) != 0) {
        understandsDelete = std::find(protocols, protocols + count, deleteWindow) != protocols + count;
        XFree(protocols);
    }
    if (understandsDelete) {
        // The program's own close handling runs, as when the user closes it.
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = w;
        event.xclient.message_type = x_.atom("WM_PROTOCOLS");
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(deleteWindow);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, w, False, NoEventMask, &event);
    } else if (managerSupports("_NET_CLOSE_WINDOW")) {
        // The manager does what its close button does for such a window.
        sendToRoot(w, "_NET_CLOSE_WINDOW", CurrentTime, kSourcePager, 0);
    }
    XFlush(d);
}

unsigned long X11Windows::activeWindow()
{
    if (managerSupports("_NET_ACTIVE_WINDOW")) {
        const std::vector<unsigned long> active =
            ReadLongs(x_.display(), x_.root(), x_.atom("_NET_ACTIVE_WINDOW"), XA_WINDOW);
        return active.empty() ? 0 : active.front();
    }
    Window focus = None;
    int revert = 0;
    XGetInputFocus(x_.display(), &focus, &revert);
    return focus == PointerRoot ? 0 : focus;
}

bool X11Windows::anotherProgramHasFocus()
{
    if (!x_.isOpen())
        return false;
    X11ErrorTrap trap(x_.display());
    const unsigned long active = activeWindow();
    if (active == 0 || active == x_.root())
        return false;
    // A window that names no process is taken for another program's: a
    // window of ours names its process.
    const std::vector<unsigned long> pid =
        ReadLongs(x_.display(), active, x_.atom("_NET_WM_PID"), XA_CARDINAL);
    return pid != std::vector<unsigned long>{static_cast<unsigned long>(getpid())};
}

void X11Windows::applyStartMode(std::int64_t processId, int showMode)
{
    constexpr auto kPatience = std::chrono::seconds(15);
    if (!x_.isOpen() || processId <= 0 || showMode == 1)
        return;
    X11ErrorTrap trap(x_.display());
    modes_.push_back({static_cast<unsigned long>(processId), showMode, activeWindow(),
                      std::chrono::steady_clock::now() + kPatience});
    if (whenModeWaits_)
        whenModeWaits_();
}

bool X11Windows::tendStartModes()
{
    if (modes_.empty() || !x_.isOpen())
        return false;
    Display* d = x_.display();
    X11ErrorTrap trap(d);
    const Atom pidAtom = x_.atom("_NET_WM_PID");
    const std::vector<unsigned long> windows = allFrontToBack();
    const auto now = std::chrono::steady_clock::now();
    for (auto m = modes_.begin(); m != modes_.end();) {
        // The process's first window that is on screen: a mode acts on a
        // shown window, and the program shows it in its own time.
        const auto shown = std::find_if(windows.begin(), windows.end(), [&](unsigned long w) {
            XWindowAttributes a{};
            return ReadLongs(d, w, pidAtom, XA_CARDINAL) == std::vector<unsigned long>{m->process} &&
                   XGetWindowAttributes(d, w, &a) != 0 && a.map_state == IsViewable;
        });
        if (shown != windows.end()) {
            applyMode(*shown, m->showMode, m->previous);
            m = modes_.erase(m);
        } else if (now > m->until) {
            m = modes_.erase(m);
        } else {
            ++m;
        }
    }
    XFlush(d);
    return !modes_.empty();
}

void X11Windows::applyMode(unsigned long window, int showMode, unsigned long previous)
{
    Display* d = x_.display();
    const Window w = static_cast<Window>(window);
    const bool manager = managerSupports("_NET_WM_STATE");
    const auto giveFocusBack = [&] {
        if (previous != 0 && previous != window) {
            activate(previous);
        } else if (!manager) {
            XSetInputFocus(d, PointerRoot, RevertToPointerRoot, CurrentTime);
        }
    };
    switch (showMode) {
    case 0:
        XWithdrawWindow(d, w, DefaultScreen(d));
        break;
    case 2:
    case 7:
        // Without a manager nobody keeps icons: the window is unmapped, and
        // a restore maps it again.
        if (manager)
            XIconifyWindow(d, w, DefaultScreen(d));
        else
            XUnmapWindow(d, w);
        if (showMode == 7)
            giveFocusBack();
        break;
    case 3:
        if (manager)
            sendToRoot(w, "_NET_WM_STATE", kStateAdd, static_cast<long>(x_.atom("_NET_WM_STATE_MAXIMIZED_VERT")),
                       static_cast<long>(x_.atom("_NET_WM_STATE_MAXIMIZED_HORZ")));
        break;
    case 8:
        giveFocusBack();
        XRaiseWindow(d, w);  // shown in front, only without the focus
        break;
    default:
        break;
    }
}

}  // namespace hrln::platform::x11
