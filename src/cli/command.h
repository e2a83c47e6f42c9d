#pragma once

#include "common/report.h"
#include "platform/clock.h"
#include "platform/session.h"

#include <array>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// What every command of horalyn-cli shares: how its arguments are read, what
// it works with, and how it ends.
namespace hrln::cli {

enum ExitStatus : int {
    kDone = 0,
    kTaskNotFound = 1,
    kFailed = 2,  // bad arguments, or the database could not be used
};

struct HelpRequested {};

// A command's arguments as given: its options in order, each with its value
// (empty for a flag), and the remaining operands.
struct Arguments {
    std::vector<std::pair<std::string_view, std::string_view>> options;
    std::vector<std::string_view> operands;
};

// Options listed in `valued` take their value as the next argument or after
// '=' (--count=5); those in `flags` take none. "--help" or "-h" anywhere asks
// for help. A reason for the user on anything else that starts with '-'.
std::variant<Arguments, HelpRequested, std::string> ScanArguments(std::span<const std::string_view> args,
                                                                  std::span<const std::string_view> valued,
                                                                  std::span<const std::string_view> flags);

struct CommandContext {
    std::string_view name;  // "add", "list", ...
    std::ostream& out;
    std::ostream& err;
    const platform::Clock& clock;
    const platform::Session* session;
    // Draws reports as PDF; none where the program cannot draw pages.
    const std::function<bool(report::Source&, const report::Heading&, const std::string&, std::ostream&)>* pdf =
        nullptr;

    // Writes "horalyn-cli NAME: reason" as the one line of a failure.
    int fail(std::string_view reason, int status = kFailed) const;
};

std::string Quoted(std::string_view s);

template <std::size_t N, std::size_t M>
constexpr std::array<std::string_view, N + M> Join(const std::array<std::string_view, N>& a,
                                                   const std::array<std::string_view, M>& b)
{
    std::array<std::string_view, N + M> all{};
    for (std::size_t i = 0; i < N; ++i)
        all[i] = a[i];
    for (std::size_t i = 0; i < M; ++i)
        all[N + i] = b[i];
    return all;
}

}  // namespace hrln::cli
