#pragma once

#include <fstream>
#include <string>

namespace hrln::exchange {

// A file written under a name of its own beside the one asked for and given
// that name only when it is whole, so that a failed export leaves an earlier
// file of the name as it was.
class PartFile {
public:
    explicit PartFile(std::string path) : path_(std::move(path)), part_(path_ + ".part") {}
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    // False when the file cannot be created.
    bool open();
    std::ofstream& out() { return out_; }
    // Closes the file and gives it its name; the reason that failed, empty
    // when it did not.
    std::string commit();

private:
    std::string path_;
    std::string part_;
    std::ofstream out_;
    bool pending_ = false;  // a part is on disk that commit() has not renamed
};

}  // namespace hrln::exchange
