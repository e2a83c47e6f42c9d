#include "platform/dbus/bus_command.h"
#include "platform/dbus/bus_values.h"

#include <gtest/gtest.h>

#include <sstream>

namespace hrln::platform::dbus {
namespace {

// The arguments as the bus would carry them when the method does not say.
std::vector<BusValue> Untyped(const BusCommand& c)
{
    const BusConversion converted = ConvertArguments(c.arguments, std::nullopt);
    EXPECT_EQ(converted.problem, "");
    return converted.values;
}

// "type=value" for a converted value, arrays and variants spelled out.
std::string Shown(const BusValue& v)
{
    std::string out = v.signature + "=";
    std::visit(
        [&](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::vector<BusValue>>) {
                out += "[";
                for (std::size_t i = 0; i < x.size(); ++i)
                    out += (i ? "," : "") + Shown(x[i]);
                out += "]";
            } else if constexpr (std::is_same_v<T, std::string>) {
                out += x;
            } else if constexpr (std::is_same_v<T, bool>) {
                out += x ? "true" : "false";
            } else {
                std::ostringstream s;
                s << x;
                out += s.str();
            }
        },
        v.data);
    return out;
}

std::string Converted(std::string_view command, const std::optional<std::string>& signature = std::nullopt)
{
    const auto c = ParseBusCommand(command, "org.example.Player");
    if (!c)
        return "unreadable";
    const BusConversion converted = ConvertArguments(c->arguments, signature);
    if (!converted.problem.empty())
        return "problem: " + converted.problem;
    std::string out;
    for (const BusValue& v : converted.values)
        out += (out.empty() ? "" : " ") + Shown(v);
    return out;
}

TEST(BusCommand, ReadsInterfaceMethodAndArguments)
{
    const auto c = ParseBusCommand(
        R"(  org.mpris.MediaPlayer2.Player.OpenUri( "file:///home/me/a \"b\".ogg", -12 ,true,false, 5000000000 ) )");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->interface, "org.mpris.MediaPlayer2.Player");
    EXPECT_EQ(c->method, "OpenUri");
    const std::vector<BusValue> args = Untyped(*c);
    ASSERT_EQ(args.size(), 5u);
    EXPECT_EQ(Shown(args[0]), "s=file:///home/me/a \"b\".ogg");
    EXPECT_EQ(Shown(args[1]), "i=-12");
    EXPECT_EQ(Shown(args[2]), "b=true");
    EXPECT_EQ(Shown(args[3]), "b=false");
    EXPECT_EQ(Shown(args[4]), "x=5000000000");

    for (const char* bare : {"org.freedesktop.DBus.ListNames", "org.freedesktop.DBus.ListNames()",
                             "org.freedesktop.DBus.ListNames (  )"}) {
        const auto b = ParseBusCommand(bare);
        ASSERT_TRUE(b) << bare;
        EXPECT_EQ(b->method, "ListNames");
        EXPECT_TRUE(b->arguments.empty());
    }
    EXPECT_EQ(Shown(Untyped(*ParseBusCommand(R"(a.b.C("x\\"))"))[0]), "s=x\\");
}

TEST(BusCommand, ReadsTypePrefixesInBothForms)
{
    EXPECT_EQ(Converted("Seek(int64:5000000)"), "x=5000000");
    EXPECT_EQ(Converted("Seek int64:5000000"), "x=5000000");
    EXPECT_EQ(Converted(R"(org.freedesktop.DBus.Properties.Set("org.mpris.MediaPlayer2.Player","Volume",variant:double:0.5))"),
              "s=org.mpris.MediaPlayer2.Player s=Volume v=[d=0.5]");
    EXPECT_EQ(Converted("Set string:org.mpris.MediaPlayer2.Player string:Volume variant:double:0.5"),
              "s=org.mpris.MediaPlayer2.Player s=Volume v=[d=0.5]");
    EXPECT_EQ(Converted("Take(int16:-3, uint16:65535, int32:-7, uint32:4000000000, uint64:18446744073709551615, byte:255, "
                        "boolean:true, objpath:/org/x, signature:\"a{sv}\")"),
              "n=-3 q=65535 i=-7 u=4000000000 t=18446744073709551615 y=255 b=true o=/org/x g=a{sv}");
    // An unbracketed array runs to the end of its argument: a blank, or the
    // closing parenthesis.
    EXPECT_EQ(Converted("Take array:string:a,b,c int32:1"), "as=[s=a,s=b,s=c] i=1");
    EXPECT_EQ(Converted("Take(1, array:int64:1,2)"), "i=1 ax=[x=1,x=2]");
    EXPECT_EQ(Converted(R"(Take(array:string:["a b",c], 2))"), "as=[s=a b,s=c] i=2");
    EXPECT_EQ(Converted("Take(array:string:[], array:uint32:)"), "as=[] au=[]");
    EXPECT_EQ(Converted("Take(variant:array:int32:[1,2], variant:string:\"x\")"), "v=[ai=[i=1,i=2]] v=[s=x]");
    EXPECT_EQ(Converted(R"(Take(["a","b"], [1, 2], [], {}, 0.25))"), "as=[s=a,s=b] ai=[i=1,i=2] as=[] a{sv}=[] d=0.25");
    EXPECT_EQ(Converted("Take plain words"), "s=plain s=words");
    EXPECT_EQ(Converted("Take(\"x\")"), "s=x");
}

TEST(BusCommand, ConvertsToTheMethodsSignature)
{
    EXPECT_EQ(Converted("Seek(5000000)", "x"), "x=5000000");
    EXPECT_EQ(Converted(R"(Take(5, 7, 0.5, "/org/x", ["a","b"], 3))", "xudoasv"),
              "x=5 u=7 d=0.5 o=/org/x as=[s=a,s=b] v=[i=3]");
    EXPECT_EQ(Converted(R"(Notify("Horalyn",0,"","Backup","done",[],{},5000))", "susssasa{sv}i"),
              "s=Horalyn u=0 s= s=Backup s=done as=[] a{sv}=[] i=5000");
    EXPECT_EQ(Converted("Take(2)", "d"), "d=2");
    // A prefix wins over the description.
    EXPECT_EQ(Converted("Take(int32:5)", "x"), "i=5");
}

TEST(BusCommand, ValuesThatDoNotFitTheirTypeAreProblems)
{
    EXPECT_EQ(Converted("Seek(int64:abc)"), "problem: argument 1: \"abc\" is not a valid int64");
    EXPECT_EQ(Converted("Seek abc", "x"), "problem: argument 1: \"abc\" is not a valid int64");
    EXPECT_EQ(Converted("Take(1, uint32:-1)"), "problem: argument 2: \"-1\" is not a valid uint32");
    EXPECT_EQ(Converted("Take(byte:256)"), "problem: argument 1: \"256\" is not a valid byte");
    EXPECT_EQ(Converted("Take(int16:40000)"), "problem: argument 1: \"40000\" is not a valid int16");
    EXPECT_EQ(Converted("Take(5000000000)", "i"), "problem: argument 1: \"5000000000\" is not a valid int32");
    EXPECT_EQ(Converted("Take(0.5)", "x"), "problem: argument 1: \"0.5\" is not a valid int64");
    EXPECT_EQ(Converted("Take(double:x1)"), "problem: argument 1: \"x1\" is not a valid double");
    EXPECT_EQ(Converted("Take(boolean:1)"), "problem: argument 1: \"1\" is not true or false");
    EXPECT_EQ(Converted("Take(\"a/b\")", "o"), "problem: argument 1: \"a/b\" is not an object path");
    EXPECT_EQ(Converted("Take(5)", "s"), "problem: argument 1: \"5\" is a number where text is wanted: put it in quotes");
    EXPECT_EQ(Converted("Take(5)", "as"), "problem: argument 1: \"5\" is not a list");
    EXPECT_EQ(Converted("Take([1, \"a\"])", "ai"), "problem: argument 1: \"a\" is not a valid int32");
    EXPECT_EQ(Converted("Take([1])", "a(ii)"), "problem: argument 1: arrays of (ii) cannot be written");
    EXPECT_EQ(Converted("Take(1, 2)", "i"), "problem: the method takes 1 argument, not 2");
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
