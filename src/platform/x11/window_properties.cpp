#include "platform/x11/window_properties.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace hrln::platform::x11 {

namespace {

// Xlib's buffer for one property value, freed with the object.
struct PropertyData {
    unsigned char* data = nullptr;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;

    ~PropertyData()
    {
        if (data != nullptr)
            XFree(data);
    }

    bool read(Display* display, Window window, Atom property, Atom wanted)
    {
        unsigned long bytesAfter = 0;
        // Titles are short and window lists small: 64 KiB of longs is ample.
        return XGetWindowProperty(display, window, property, 0, 65536, False, wanted, &type, &format, &count,
                                  &bytesAfter, &data) == Success &&
               data != nullptr;
    }
};

std::string Utf8FromTextProperty(Display* display, XTextProperty& prop)
{
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const std::string raw(reinterpret_cast<const char*>(prop.value), prop.nitems);
    if (prop.encoding == utf8)
        return raw;
    if (prop.encoding == XA_STRING)
        return Latin1ToUtf8(raw);
    // COMPOUND_TEXT and the like: Xlib knows the conversions.
    char** list = nullptr;
    int count = 0;
    std::string out;
    if (Xutf8TextPropertyToTextList(display, &prop, &list, &count) >= Success && list != nullptr) {
        for (int i = 0; i < count; ++i)
            out += list[i];
        XFreeStringList(list);
    }
    return out;
}

}  // namespace

std::vector<unsigned long> ReadLongs(Display* display, Window window, Atom property, Atom type)
{
    PropertyData p;
    if (!p.read(display, window, property, type) || p.format != 32)
        return {};
    // Xlib hands 32-bit values over as longs, whatever the size of a long.
    const auto* values = reinterpret_cast<const unsigned long*>(p.data);
    return {values, values + p.count};
}

bool HasProperty(Display* display, Window window, Atom property)
{
    PropertyData p;
    return p.read(display, window, property, AnyPropertyType) && p.type != None;
}

std::string ReadTitle(Display* display, Window window)
{
    {
        PropertyData p;
        const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
        if (p.read(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8) && p.format == 8 &&
            p.count > 0)
            return {reinterpret_cast<const char*>(p.data), p.count};
    }
    XTextProperty prop{};
    if (XGetWMName(display, window, &prop) == 0 || prop.value == nullptr)
        return {};
    std::string title = prop.format == 8 ? Utf8FromTextProperty(display, prop) : std::string{};
    XFree(prop.value);
    return title;
}

std::string Latin1ToUtf8(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

}  // namespace hrln::platform::x11
