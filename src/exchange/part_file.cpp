#include "exchange/part_file.h"

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

bool PartFile::open()
{
    out_.open(part_, std::ios::binary | std::ios::trunc);
    pending_ = static_cast<bool>(out_);
    return pending_;
}

std::string PartFile::commit()
{
    out_.close();
    if (!out_)
        return "Could not write " + path_ + ".";
    std::error_code ec;
    std::filesystem::rename(part_, path_, ec);
    if (ec)
        return "Could not write " + path_ + ": " + ec.message() + ".";
    pending_ = false;
    return {};
}

}  // namespace hrln::exchange
