#pragma once

#include "platform/clock.h"
#include "ui/widgets/window_services.h"

#include <QString>

namespace hrln::ui {

// What the personal-information windows need beyond every window's services:
// the time that stamps items and the user named in titles and saved texts.
struct PimWindowServices {
    WindowServices window;
    const platform::Clock& clock;
    QString user;
};

}  // namespace hrln::ui
