#pragma once

#include "platform/clock.h"
#include "platform/sound.h"
#include "platform/windows.h"
#include "ui/widgets/window_services.h"

namespace hrln::ui {

// What the windows that edit the schedule need besides every window's services.
struct ScheduleWindowServices {
    WindowServices window;
    const platform::Clock& clock;
    data::ProfileFile& ini;          // HRLN.INI: the last alarm file, the "Warning" section
    platform::Sound* sound = nullptr;  // "&Play"; none plays nothing
    // The desktop's windows, for the script editor's lists of window titles.
    platform::Windows* windows = nullptr;
};

}  // namespace hrln::ui
