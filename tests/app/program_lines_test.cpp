// The programs as a user meets them on a terminal: --help and --version, a
// refused command line, and the helpers that only the program may start.
#include "platform/posix/helper_programs.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace hrln::app {
namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

ProgramRun RunProgram(const char* program, const QStringList& arguments, bool markedAsOurs = false)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QString::fromLatin1(platform::posix::kStartedByVariable));
    if (markedAsOurs)
        env.insert(QString::fromLatin1(platform::posix::kStartedByVariable), QStringLiteral("horalyn"));
    // No display is needed for anything asked here.
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // In a sanitized build, the desktop libraries' own leaks are not ours.
    env.insert(QStringLiteral("LSAN_OPTIONS"),
               QStringLiteral("suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0"));
    process.setProcessEnvironment(env);
    process.start(QString::fromLocal8Bit(program), arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(30'000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

int Lines(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

const char* const kPrograms[] = {HORALYN_PROGRAM, HORALYN_CLI_PROGRAM, HRLNMSG_PROGRAM, HRLNSTART_PROGRAM};

TEST(ProgramLinesTest, EveryProgramAnswersHelpAndVersionOnStandardOutput)
{
    for (const char* program : kPrograms) {
        const std::string name = std::filesystem::path(program).filename().string();
        SCOPED_TRACE(name);
        const ProgramRun help = RunProgram(program, {QStringLiteral("--help")});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.starts_with("Usage: " + name + " ")) << help.out;
        EXPECT_EQ(help.err, "");
        const ProgramRun version = RunProgram(program, {QStringLiteral("--version")});
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(Lines(version.out), 1) << version.out;
        EXPECT_TRUE(version.out.starts_with(name + " ")) << version.out;
        EXPECT_TRUE(version.out.ends_with(" " HRLN_VERSION "\n")) << version.out;
        EXPECT_EQ(version.err, "");
    }
}

TEST(ProgramLinesTest, ABadCommandLineIsRefusedOnStandardErrorWithStatusTwo)
{
    const ProgramRun program = RunProgram(HORALYN_PROGRAM, {QStringLiteral("--bogus")});
    EXPECT_EQ(program.status, 2);
    EXPECT_NE(program.err.find("horalyn: unknown option '--bogus'\n"), std::string::npos) << program.err;
    EXPECT_NE(program.err.find("horalyn --help"), std::string::npos);
    EXPECT_EQ(program.out, "");

    const ProgramRun cli = RunProgram(HORALYN_CLI_PROGRAM, {QStringLiteral("frobnicate")});
    EXPECT_EQ(cli.status, 2);
    EXPECT_NE(cli.err.find("unknown command 'frobnicate'"), std::string::npos) << cli.err;
    EXPECT_EQ(cli.out, "");
}

TEST(ProgramLinesTest, TheHelpersRefuseToRunByHandInOneLine)
{
    // hrlnmsg by hand would otherwise show its arguments as a notification.
    const ProgramRun message = RunProgram(HRLNMSG_PROGRAM, {QStringLiteral("hello")});
    EXPECT_EQ(message.status, 2);
    EXPECT_EQ(Lines(message.err), 1) << message.err;
    EXPECT_TRUE(message.err.starts_with("hrlnmsg: ")) << message.err;
    EXPECT_EQ(message.out, "");

    // hrlnstart without the program's gate must not start what it was given.
    test::TempDir dir;
    const std::string marker = dir.file("ran");
    for (const bool marked : {false, true}) {
        SCOPED_TRACE(marked ? "marked environment, no gate" : "plain environment");
        const ProgramRun start = RunProgram(HRLNSTART_PROGRAM,
                                     {QStringLiteral("db"), QStringLiteral("1"), QStringLiteral("1"),
                                      QStringLiteral("path"), QStringLiteral("touch"),
                                      QString::fromStdString(marker)},
                                     marked);
        EXPECT_EQ(start.status, 2);
        EXPECT_EQ(Lines(start.err), 1) << start.err;
        EXPECT_TRUE(start.err.starts_with("hrlnstart: ")) << start.err;
        EXPECT_FALSE(std::filesystem::exists(marker)) << "the program ran";
    }
}

// What the resident program loads at start: the media libraries, the audio
// server's client and the network library they bring come with the first
// sound file played (the media module), and nothing else asks for them.
TEST(ProgramLinesTest, TheProgramStartsWithoutTheMediaAndNetworkLibraries)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {QString::fromLocal8Bit(HORALYN_PROGRAM)});
    ASSERT_TRUE(ldd.waitForFinished(30'000));
    const std::string libraries = ldd.readAllStandardOutput().toStdString();
    ASSERT_NE(libraries.find("libQt6Widgets"), std::string::npos) << libraries;
    for (const char* late : {"libQt6Multimedia", "libQt6Network", "libpulse", "libgssapi_krb5", "libproxy"})
        EXPECT_EQ(libraries.find(late), std::string::npos) << late;
}

TEST(HelperProgramsTest, FoundBesideTheProgramFirstThenInTheHelperFolder)
{
    test::TempDir dir;
    const std::filesystem::path bin = dir.path() / "bin";
    const std::filesystem::path helpers = dir.path() / "libexec" / "horalyn";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(helpers);
    const auto makeProgram = [](const std::filesystem::path& path, bool executable) {
        test::WriteFile(path.string(), "#!/bin/sh\n");
        std::filesystem::permissions(path, executable ? std::filesystem::perms::owner_all
                                                      : std::filesystem::perms::owner_read);
    };
    EXPECT_EQ(platform::posix::HelperProgram(bin.string(), "../libexec/horalyn", "hrlnmsg"), "");

    makeProgram(helpers / "hrlnmsg", true);
    EXPECT_EQ(platform::posix::HelperProgram(bin.string(), "../libexec/horalyn", "hrlnmsg"),
              (bin / "../libexec/horalyn/hrlnmsg").string());

    // The build tree keeps them beside the program; that one is taken.
    makeProgram(bin / "hrlnmsg", true);
    EXPECT_EQ(platform::posix::HelperProgram(bin.string(), "../libexec/horalyn", "hrlnmsg"),
              (bin / "hrlnmsg").string());

    // A file that cannot run is passed over.
    makeProgram(bin / "hrlnstart", false);
    EXPECT_EQ(platform::posix::HelperProgram(bin.string(), "../libexec/horalyn", "hrlnstart"), "");
}

}  // namespace
}  // namespace hrln::app
