#pragma once

#include "cli_run.h"
#include "support/fake_clock.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hrln::cli {

// Each test gets an empty data folder of its own; the commands make it their
// current folder, so the test's own is put back afterwards.
class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedFolder_ = std::filesystem::current_path();
        setenv("XDG_DATA_HOME", temp_.path().c_str(), 1);
    }
    void TearDown() override
    {
        std::filesystem::current_path(savedFolder_);
        unsetenv("XDG_DATA_HOME");
    }

    CliResult Run(const std::vector<std::string_view>& args)
    {
        return RunArgs(args, clock_, static_cast<const platform::Session*>(nullptr));
    }

    std::string Folder() const { return (temp_.path() / "horalyn").string(); }
    std::string DatabasePath() const { return Folder() + "/HRLN.TPS"; }

    test::TempDir temp_;
    test::FakeClock clock_{MakeDate(3, 5, 2027), MakeTime(14, 30, 15, 25)};

private:
    std::filesystem::path savedFolder_;
};

}  // namespace hrln::cli
