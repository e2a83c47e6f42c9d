#pragma once

#include "e2e/desktop_session.h"

#include <gtest/gtest.h>

namespace hrln::test {

// The display the Qt tests share: one QApplication per test program, so one
// display, started by the program's main before the application.
DesktopSession* QtTestDesktop();

#define HRLN_NEEDS_QT_DESKTOP()                                  \
    do {                                                         \
        if (::hrln::test::QtTestDesktop() == nullptr)            \
            GTEST_SKIP() << ::hrln::test::DesktopSession::kNoXvfb; \
    } while (false)

}  // namespace hrln::test
