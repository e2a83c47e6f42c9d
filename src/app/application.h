#pragma once

#include <QString>

namespace hrln::app {

// Where the files shipped with the program are: installed under
// <prefix>/share/horalyn, or in the source tree when run from the build.
QString ShippedFile(const QString& relativePath);

// What the command line asks of one run.
struct StartOptions {
    bool minimized = false;
};

// The whole program on the data folder (already the current folder): opens
// the database, reads the settings, builds the backends, the scheduler and
// the frame, and runs until the frame closes. Returns the exit status.
int RunApplication(const QString& dataFolder, const StartOptions& options);

}  // namespace hrln::app
