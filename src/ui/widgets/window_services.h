#pragma once

#include "data/database.h"
#include "data/profile_file.h"
#include "platform/prompter.h"

namespace hrln::ui {

// What every browser, form and job window needs of the program.
struct WindowServices {
    data::Database& db;
    data::ProfileFile& positions;
    platform::Prompter& prompter;
};

}  // namespace hrln::ui
