#include "common/input_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace hrln {
namespace fs = std::filesystem;

namespace {

const char* KindName(fs::file_type type)
{
    switch (type) {
    case fs::file_type::fifo: return "a named pipe";
    case fs::file_type::socket: return "a socket";
    case fs::file_type::character: return "a character device";
    case fs::file_type::block: return "a block device";
    default: return "of an unknown kind";
    }
}

}  // namespace

std::string SystemErrorText(int code)
{
    return std::error_code(code != 0 ? code : EIO, std::generic_category()).message();
}

std::string InputFileProblem(const std::string& path)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec)
        return ec.message();
    if (status.type() == fs::file_type::directory)
        return SystemErrorText(EISDIR);
    if (status.type() != fs::file_type::regular)
        return std::string("not a regular file (") + KindName(status.type()) + ")";
    return {};
}

std::string OpenInputFile(const std::string& path, std::ifstream& in, std::uint64_t& size)
{
    if (std::string problem = InputFileProblem(path); !problem.empty())
        return problem;
    std::error_code ec;
    errno = 0;
    in.open(path, std::ios::binary);
    if (!in.is_open())
        return SystemErrorText(errno);
    size = fs::file_size(path, ec);
    if (ec)
        size = 0;
    return {};
}

}  // namespace hrln
