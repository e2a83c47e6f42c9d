#pragma once

#include <fstream>
#include <string>
#include <string_view>

namespace hrln::exchange {

// A file written under a name of its own beside the one asked for and given
// that name only when it is whole, so that a failed or killed export leaves an
// earlier file of the name as it was. A part left by a run that died is
// replaced by the next one.
class PartFile {
public:
    explicit PartFile(std::string path) : path_(std::move(path)), part_(path_ + ".part") {}
    ~PartFile();
    PartFile(const PartFile&) = delete;
    PartFile& operator=(const PartFile&) = delete;

    // The reason the file cannot be created, in the system's words; empty when it is open.
    std::string open();
    // False once a write has failed (a full disk): the export can stop there.
    bool write(std::string_view bytes);
    // Closes the file and gives it its name; the reason that failed in the
    // system's words (the part is then removed), empty when it did not.
    std::string commit();

    const std::string& partPath() const { return part_; }

private:
    void noteFailure();

    std::string path_;
    std::string part_;
    std::ofstream out_;
    int failure_ = 0;       // the first write's error number, once one failed
    bool failed_ = false;
    bool pending_ = false;  // a part is on disk that commit() has not renamed
};

}  // namespace hrln::exchange
