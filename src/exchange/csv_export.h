#pragma once

#include "common/batch_job.h"
#include "exchange/field_layout.h"

#include <memory>
#include <string>

namespace hrln::data {
class Database;
}
namespace hrln::platform {
class Prompter;
}

namespace hrln::exchange {

class PartFile;

inline constexpr const char* kNoFieldsSelected = "No Fields Selected for Export!";

// Writes every record of a table to a comma-delimited file, in the layout's
// columns: UTF-8, lines ended by CR LF, the header line first when the layout
// asks for it. The schedule goes in ID order, contacts in ClientID order, the
// to-do list in the order of its texts.
class ExportJob : public BatchJob {
public:
    ExportJob(data::Database& db, ExchangeTable table, FieldLayout layout, std::string path,
              platform::Prompter& prompter);
    ~ExportJob() override;

    std::string description() const override;
    // Refuses with no field chosen, a layout that does not fit the table or a
    // file that cannot be written, after telling the user.
    bool begin() override;
    bool step(int count) override;
    int percent() const override;
    void end(bool cancelled) override;

    int written() const { return written_; }
    // False when writing the file failed (the user has been told).
    bool ok() const { return ok_; }

    class Source;

private:
    bool refuse(const std::string& text);

    data::Database& db_;
    ExchangeTable table_;
    FieldLayout layout_;
    std::string path_;
    platform::Prompter& prompter_;
    std::unique_ptr<Source> source_;
    std::unique_ptr<PartFile> file_;
    int total_ = 0;
    int written_ = 0;
    bool ok_ = true;
};

}  // namespace hrln::exchange
