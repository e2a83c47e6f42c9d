#include "exchange/part_file.h"

#include "common/input_file.h"

#include <cerrno>
#include <filesystem>

namespace hrln::exchange {

PartFile::~PartFile()
{
    if (!pending_)
        return;
    out_.close();
    std::error_code ec;
    std::filesystem::remove(part_, ec);
}

std::string PartFile::open()
{
    // A part left behind by a run that died is made anew, with the modes of
    // a file made now.
    std::error_code ec;
    if (std::filesystem::symlink_status(part_, ec).type() == std::filesystem::file_type::regular)
        std::filesystem::remove(part_, ec);
    errno = 0;
    out_.open(part_, std::ios::binary | std::ios::trunc);
    if (!out_.is_open())
        return SystemErrorText(errno);
    pending_ = true;
    return {};
}

void PartFile::noteFailure()
{
    if (!failed_)
        failure_ = errno;
    failed_ = true;
}

bool PartFile::write(std::string_view bytes)
{
    if (failed_)
        return false;
    errno = 0;
    if (!out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        noteFailure();
    return !failed_;
}

std::string PartFile::commit()
{
    if (!failed_) {
        errno = 0;
        out_.close();
        if (!out_)
            noteFailure();
    } else {
        out_.close();
    }
    if (failed_) {
        std::error_code ec;
        std::filesystem::remove(part_, ec);
        pending_ = false;
        return SystemErrorText(failure_);
    }
    std::error_code ec;
    std::filesystem::rename(part_, path_, ec);
    if (ec)
        return ec.message();
    pending_ = false;
    return {};
}

}  // namespace hrln::exchange
