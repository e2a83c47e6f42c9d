#pragma once

#include "cli/cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace hrln::cli {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

template <class... Environment>
CliResult RunArgs(const std::vector<std::string_view>& args, const Environment&... environment)
{
    std::ostringstream out, err;
    CliResult run;
    run.status = RunCli(args, out, err, environment...);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// A refused command line: status 2, nothing on standard output, the reason as
// one line on standard error.
inline void ExpectRefused(const CliResult& run, const std::vector<std::string_view>& args)
{
    std::string joined;
    for (std::string_view a : args)
        joined += std::string(a) + ' ';
    EXPECT_EQ(run.status, 2) << joined;
    EXPECT_EQ(run.out, "") << joined;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << joined << ": " << run.err;
    EXPECT_TRUE(run.err.ends_with('\n')) << joined;
}

}  // namespace hrln::cli
