#pragma once

#include "e2e/desktop_session.h"

#include <gtest/gtest.h>

namespace hrln::test {

// The display the Qt tests share: one QApplication per test program, so one
// display, started by the program's main before the application. Null when
// Xvfb is missing.
DesktopSession* QtTestDesktop();

// A test program's main: starts the display (unless the tests are only being
// listed; offscreen without Xvfb), runs every test inside one QApplication,
// and stops the display.
int RunQtDesktopTests(int argc, char** argv);

#define HRLN_NEEDS_QT_DESKTOP()                                  \
    do {                                                         \
        if (::hrln::test::QtTestDesktop() == nullptr)            \
            GTEST_SKIP() << ::hrln::test::DesktopSession::kNoXvfb; \
    } while (false)

}  // namespace hrln::test
