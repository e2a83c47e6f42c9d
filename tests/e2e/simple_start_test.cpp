#include "e2e/script_desktop_fixture.h"

#include <filesystem>
#include <sys/stat.h>

namespace hrln::test {
namespace {

namespace fs = std::filesystem;

// A task's simple start, through the interpreter, of documents (opened by the
// desktop's association through xdg-open) and of programs whose path holds
// blanks. The desktop's associations are a private set naming a recorder.
class SimpleStartTest : public ScriptDesktopTest {
protected:
    void SetUp() override
    {
        ScriptDesktopTest::SetUp();
        if (IsSkipped())
            return;
        const fs::path root = desktop.scratch();
        fs::create_directories(root / "config");
        fs::create_directories(root / "data" / "applications");
        fs::create_directories(root / "my tools");
        makeScript(root / "viewer", "printf '%s\\n' \"$1\" >> " + (root / "opened").string());
        makeScript(root / "my tools" / "record", "printf '%s\\n' \"$@\" > \"$1.out\"");
        WriteFile((root / "data" / "applications" / "hrln-viewer.desktop").string(),
                  "[Desktop Entry]\nType=Application\nName=Viewer\nExec=" + (root / "viewer").string() +
                      " %u\nMimeType=text/plain;x-scheme-handler/hrlntest;\n");
        WriteFile((root / "config" / "mimeapps.list").string(),
                  "[Default Applications]\ntext/plain=hrln-viewer.desktop\n"
                  "x-scheme-handler/hrlntest=hrln-viewer.desktop\n");
        for (const char* name : kDesktopVariables)
            if (const char* value = std::getenv(name))
                saved_.emplace_back(name, value);
        setenv("HOME", root.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        setenv("XDG_DATA_DIRS", (root / "data").c_str(), 1);
    }

    // The next test in this process starts from the machine's own setting.
    void TearDown() override
    {
        for (const char* name : kDesktopVariables)
            unsetenv(name);
        for (const auto& [name, value] : saved_)
            setenv(name.c_str(), value.c_str(), 1);
    }

    static constexpr const char* kDesktopVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"};
    std::vector<std::pair<std::string, std::string>> saved_;

    static void makeScript(const fs::path& path, const std::string& body)
    {
        WriteFile(path.string(), "#!/bin/sh\n" + body + "\n");
        chmod(path.c_str(), 0755);
    }

    bool start(const std::string& command)
    {
        script::ProgramRequest request;
        request.command = command;
        request.startFolder = desktop.scratch();
        return engine->RunTaskProgram(request);
    }
    std::string waitForFile(const std::string& name, std::size_t lines)
    {
        const std::string path = desktop.scratch() + "/" + name;
        WaitUntil([&] {
            if (!fs::exists(path))
                return false;
            const std::string text = ReadFile(path);
            return std::count(text.begin(), text.end(), '\n') >= static_cast<std::ptrdiff_t>(lines);
        });
        return fs::exists(path) ? ReadFile(path) : "(not written)";
    }
};

TEST_F(SimpleStartTest, DocumentsAndUrlsOpenWithTheirAssociatedProgram)
{
    const std::string document = desktop.scratch() + "/meeting notes.txt";
    WriteFile(document, "agenda\n");
    ASSERT_TRUE(start(document));
    EXPECT_EQ(waitForFile("opened", 1), document + "\n");
    ASSERT_TRUE(start("hrlntest://remind/me"));
    EXPECT_EQ(waitForFile("opened", 2), document + "\nhrlntest://remind/me\n");
    EXPECT_EQ(messages(), std::vector<std::string>{});
}

TEST_F(SimpleStartTest, ProgramPathWithBlanksStartsWithItsArguments)
{
    const std::string program = desktop.scratch() + "/my tools/record";
    ASSERT_TRUE(start(program + " first \"two words\""));
    EXPECT_EQ(waitForFile("first.out", 2), "first\ntwo words\n");
    ASSERT_TRUE(start("\"" + program + "\" second 'x  y'"));
    EXPECT_EQ(waitForFile("second.out", 2), "second\nx  y\n");

    EXPECT_FALSE(start(desktop.scratch() + "/no such tool/record now"));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Could not start " + desktop.scratch() + "/no such tool/record now.");
    EXPECT_EQ(prompter.shown[0].caption, "Error Code 2");  // the last, shortest try: no such file
}

}  // namespace
}  // namespace hrln::test
