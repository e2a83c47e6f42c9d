#include "cli/cli.h"
#include "cli/pdf_output.h"
#include "data/database.h"
#include "platform/posix/open_file_locks.h"
#include "platform/posix/private_files.h"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    // The database, exports and reports it makes are the user's alone, and
    // our locks stay ours whatever else in the process opens the files.
    hrln::platform::posix::KeepNewFilesPrivate();
    hrln::data::Database::UseFileCalls(hrln::platform::posix::OpenFileDescriptionLocks());
    std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const hrln::cli::PdfOutput pdf(argc, argv);
    const int status = hrln::cli::RunCli(args, std::cout, std::cerr, &pdf.renderer());
    std::cout.flush();
    return std::cout ? status : 1;
}
