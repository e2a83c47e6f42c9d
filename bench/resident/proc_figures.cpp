#include "resident/proc_figures.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace hrln::bench {

namespace {

std::optional<long long> Number(std::string_view word)
{
    long long value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc{} || stop != end)
        return std::nullopt;
    return value;
}

// The blank-separated words of `text`.
std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t\n", at);
        if (start == std::string_view::npos)
            break;
        std::size_t end = text.find_first_of(" \t\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        words.push_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

std::optional<std::string> FileText(const std::filesystem::path& path)
{
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::optional<long long> StatCpuTicks(std::string_view statLine)
{
    // The command name sits in parentheses and may itself hold blanks and
    // parentheses: the fields start after the last closing one.
    const std::size_t close = statLine.rfind(')');
    if (close == std::string_view::npos)
        return std::nullopt;
    const std::vector<std::string_view> fields = Words(statLine.substr(close + 1));
    // fields[0] is the state (field 3), so utime (14) and stime (15) are 11 and 12.
    if (fields.size() < 13)
        return std::nullopt;
    const auto user = Number(fields[11]);
    const auto system = Number(fields[12]);
    if (!user || !system)
        return std::nullopt;
    return *user + *system;
}

std::optional<SchedStat> ParseSchedStat(std::string_view text)
{
    const std::vector<std::string_view> fields = Words(text);
    if (fields.size() < 3)
        return std::nullopt;
    const auto run = Number(fields[0]);
    const auto wait = Number(fields[1]);
    const auto runs = Number(fields[2]);
    if (!run || !wait || !runs)
        return std::nullopt;
    return SchedStat{*run, *wait, *runs};
}

std::optional<long long> KeyedNumber(std::string_view text, std::string_view key)
{
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(at, end - at);
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == ':') {
            const std::vector<std::string_view> words = Words(line.substr(key.size() + 1));
            return words.empty() ? std::nullopt : Number(words[0]);
        }
        at = end + 1;
    }
    return std::nullopt;
}

std::optional<ProcessSample> SampleProcess(pid_t pid)
{
    const std::filesystem::path root = "/proc/" + std::to_string(pid);
    const auto stat = FileText(root / "stat");
    const auto io = FileText(root / "io");
    if (!stat || !io)
        return std::nullopt;
    ProcessSample sample;
    const auto ticks = StatCpuTicks(*stat);
    const auto writes = KeyedNumber(*io, "syscw");
    if (!ticks || !writes)
        return std::nullopt;
    sample.cpuTicks = *ticks;
    sample.writeCalls = *writes;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(root / "task", error)) {
        const auto tid = Number(task.path().filename().native());
        const auto sched = FileText(task.path() / "schedstat");
        const auto name = FileText(task.path() / "comm");
        // A thread may end between the listing and the reading.
        if (!tid || !sched || !name)
            continue;
        const auto parsed = ParseSchedStat(*sched);
        if (!parsed)
            continue;
        std::string shortName = *name;
        while (!shortName.empty() && shortName.back() == '\n')
            shortName.pop_back();
        sample.threads.push_back({static_cast<int>(*tid), shortName, *parsed});
    }
    if (error || sample.threads.empty())
        return std::nullopt;
    // The main thread, whose id is the process's, first.
    std::sort(sample.threads.begin(), sample.threads.end(),
              [](const ThreadSample& a, const ThreadSample& b) { return a.tid < b.tid; });
    return sample;
}

std::optional<MemorySample> SampleMemory(pid_t pid)
{
    const auto text = FileText("/proc/" + std::to_string(pid) + "/smaps_rollup");
    if (!text)
        return std::nullopt;
    const auto rss = KeyedNumber(*text, "Rss");
    const auto pss = KeyedNumber(*text, "Pss");
    if (!rss || !pss)
        return std::nullopt;
    return MemorySample{*rss, *pss};
}

IdleDelta Between(const ProcessSample& before, const ProcessSample& after)
{
    IdleDelta delta;
    delta.cpuTicks = after.cpuTicks - before.cpuTicks;
    delta.writeCalls = after.writeCalls - before.writeCalls;
    std::map<int, SchedStat> earlier;
    for (const ThreadSample& t : before.threads)
        earlier[t.tid] = t.sched;
    for (const ThreadSample& t : after.threads) {
        SchedStat from;
        if (const auto found = earlier.find(t.tid); found != earlier.end())
            from = found->second;
        const long long runs = t.sched.runs - from.runs;
        delta.runNs += t.sched.runNs - from.runNs;
        delta.runs += runs;
        if (runs > 0)
            delta.busiest.push_back({t.name, runs});
    }
    std::stable_sort(delta.busiest.begin(), delta.busiest.end(),
                     [](const ThreadRuns& a, const ThreadRuns& b) { return a.runs > b.runs; });
    return delta;
}

std::string BusiestText(const std::vector<ThreadRuns>& busiest, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < busiest.size() && i < count; ++i) {
        if (!text.empty())
            text += ", ";
        text += busiest[i].name + " " + std::to_string(busiest[i].runs);
    }
    return text.empty() ? std::string("no thread ran") : text;
}

Spread SpreadOf(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

}  // namespace hrln::bench
