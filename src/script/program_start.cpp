#include "script/program_start.h"

#include "common/text.h"

#include <algorithm>
#include <string>

namespace hrln::script {

namespace {

constexpr std::size_t kMaxFileName = 255;

std::string_view TrimLeft(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : s.substr(first);
}

bool Started(int result)
{
    return result >= platform::kFirstStartSuccess;
}

}  // namespace

StartOptions ReadStartOptions(std::string_view code)
{
    const auto at = [&](std::size_t i) { return i < code.size() ? code[i] : ' '; };
    StartOptions options;
    options.waitForEnd = at(0) >= '1' && at(0) <= '9';
    options.priority = at(1) == '1' ? 1 : at(1) == '3' ? 3 : 2;
    const char mode = at(2);
    options.windowMode = (mode == '2' || mode == '7' || mode == '8') ? mode - '0' : 1;
    return options;
}

std::string WriteStartOptions(const StartOptions& options, std::string_view field)
{
    const int mode = options.windowMode == 2 || options.windowMode == 7 || options.windowMode == 8 ? options.windowMode : 1;
    const int priority = options.priority >= 1 && options.priority <= 3 ? options.priority : 2;
    std::string code{options.waitForEnd ? '1' : '0', static_cast<char>('0' + priority), static_cast<char>('0' + mode)};
    if (field.size() > 3)
        code += field.substr(3);
    return code;
}

int StartSimple(platform::Processes& processes, std::string_view command, std::string_view folder, int showMode)
{
    const std::string full(text::CutToWidth(text::Clip(command), kMaxFileName));
    const std::string directory(text::Clip(folder));
    int result = processes.shellOpen(full, {}, directory, showMode);
    if (Started(result))
        return result;

    // First retry: one split at the closing quote, or at the first blank.
    std::string_view file;
    std::string_view parameters;
    bool split = false;
    const std::string_view whole = full;
    if (!whole.empty() && whole.front() == '"') {
        const std::size_t close = whole.find('"', 1);
        if (close != std::string_view::npos) {
            file = whole.substr(1, close - 1);
            parameters = TrimLeft(whole.substr(close + 1));
            split = true;
        }
    } else {
        const std::size_t blank = whole.find(' ');
        if (blank != std::string_view::npos && blank + 1 < whole.size()) {
            file = whole.substr(0, blank);
            parameters = TrimLeft(whole.substr(blank + 1));
            split = true;
        }
    }
    if (!split)
        return result;
    result = processes.shellOpen(std::string(file), std::string(parameters), directory, showMode);

    // Then ever shorter prefixes, split at each blank from the right, on the
    // command as written (quotes included). Positions count from 1.
    for (std::size_t i = whole.size() - 1; i >= 3 && !Started(result); --i) {
        if (whole[i - 1] != ' ')
            continue;
        file = text::Clip(whole.substr(0, i - 1));
        parameters = TrimLeft(whole.substr(i));
        result = processes.shellOpen(std::string(file), std::string(parameters), directory, showMode);
    }
    return result;
}

platform::AdvancedStartResult StartAdvanced(platform::Processes& processes, std::string_view command,
                                            std::string_view folder, int priority, bool forceNormal, int showMode)
{
    platform::ProcessPriority priorityClass = platform::ProcessPriority::Normal;
    if (!forceNormal && priority == 1)
        priorityClass = platform::ProcessPriority::Idle;
    else if (!forceNormal && priority == 3)
        priorityClass = platform::ProcessPriority::High;
    return processes.createProcess(std::string(text::Clip(command)), std::string(text::Clip(folder)),
                                   priorityClass, showMode);
}

void ReportStartFailure(platform::Prompter& prompter, std::string_view command, int code)
{
    platform::MessageBox box;
    box.text = "Could not start " + std::string(text::Clip(command)) + ".";
    box.caption = "Error Code " + std::to_string(code);
    prompter.ask(box);
}

void CloseProgram(platform::Windows& windows, platform::WindowHandle lastWindow)
{
    if (lastWindow == 0 || windows.isOwnMainWindow(lastWindow))
        return;
    windows.restore(lastWindow);
    windows.postCloseRequest(lastWindow);
}

}  // namespace hrln::script
