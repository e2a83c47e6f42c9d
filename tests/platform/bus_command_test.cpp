#include "platform/dbus/bus_command.h"

#include <gtest/gtest.h>

namespace hrln::platform::dbus {
namespace {

TEST(BusCommand, ReadsInterfaceMethodAndArguments)
{
    const auto c = ParseBusCommand(
        R"(  org.mpris.MediaPlayer2.Player.OpenUri( "file:///home/me/a \"b\".ogg", -12 ,true,false, 5000000000 ) )");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->interface, "org.mpris.MediaPlayer2.Player");
    EXPECT_EQ(c->method, "OpenUri");
    ASSERT_EQ(c->arguments.size(), 5u);
    EXPECT_EQ(std::get<std::string>(c->arguments[0]), "file:///home/me/a \"b\".ogg");
    EXPECT_EQ(std::get<std::int32_t>(c->arguments[1]), -12);
    EXPECT_TRUE(std::get<bool>(c->arguments[2]));
    EXPECT_FALSE(std::get<bool>(c->arguments[3]));
    EXPECT_EQ(std::get<std::int64_t>(c->arguments[4]), 5000000000);

    for (const char* bare : {"org.freedesktop.DBus.ListNames", "org.freedesktop.DBus.ListNames()",
                             "org.freedesktop.DBus.ListNames (  )"}) {
        const auto b = ParseBusCommand(bare);
        ASSERT_TRUE(b) << bare;
        EXPECT_EQ(b->method, "ListNames");
        EXPECT_TRUE(b->arguments.empty());
    }
    EXPECT_EQ(std::get<std::string>(ParseBusCommand(R"(a.b.C("x\\"))")->arguments[0]), "x\\");
}

TEST(BusCommand, RefusesAnythingElse)
{
    for (const char* bad : {"", "   ", "Play", "org.Play", "org..x.Play", "org.x.Play(", "org.x.Play)",
                            "org.x.Play(\"open)", "org.x.Play(1,)", "org.x.Play(,1)", "org.x.Play(yes)",
                            "org.x.Play(1 2)", "org.x.Play() extra", "org.x.1Play()", "org.x.Play(99999999999999999999)",
                            "org.x-y.Play()", "org.x.Play(\"a\")(\"b\")"})
        EXPECT_FALSE(ParseBusCommand(bad)) << bad;
}

TEST(BusNames, FollowTheBusRules)
{
    for (const char* good : {"org.freedesktop.DBus", "org.mpris.MediaPlayer2.vlc", ":1.42", "com.example-app.x"})
        EXPECT_TRUE(IsValidBusName(good)) << good;
    for (const char* bad : {"", "org", "org.", ".org.x", "org.1x", "org x.y", ":", ":1"})
        EXPECT_FALSE(IsValidBusName(bad)) << bad;
    for (const char* good : {"/", "/org/freedesktop/DBus", "/a_1"})
        EXPECT_TRUE(IsValidObjectPath(good)) << good;
    for (const char* bad : {"", "org/x", "/org/", "//", "/org//x", "/a-b", "/a.b"})
        EXPECT_FALSE(IsValidObjectPath(bad)) << bad;
}

}  // namespace
}  // namespace hrln::platform::dbus
