#pragma once

#include "common/batch_job.h"
#include "exchange/csv_import.h"
#include "data/worker_job.h"

#include <fstream>
#include <memory>
#include <string>

namespace hrln::data {
class Database;
}
namespace hrln::platform {
class Prompter;
}

namespace hrln::exchange {

enum class VCardVersion { V3, V4 };

class PartFile;

// Writes every contact, in ClientID order, as a vCard: the name (N and FN),
// the address lines and postal code (ADR), the phones by type (TEL), e-mail,
// web site, contact category and notes. The owner in multi-user mode goes in
// X-HRLN-USER. The file takes its name only when it is whole.
class VCardExportJob : public BatchJob {
public:
    VCardExportJob(data::Database& db, std::string path, VCardVersion version, platform::Prompter& prompter);
    ~VCardExportJob() override;

    std::string description() const override { return "Exporting Contacts"; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override;
    void end(bool cancelled) override;

    int written() const { return written_; }
    bool ok() const { return ok_; }

    class Source;

private:
    bool refuse(const std::string& text);

    data::Database& db_;
    std::string path_;
    std::unique_ptr<PartFile> file_;
    VCardVersion version_;
    platform::Prompter& prompter_;
    std::unique_ptr<Source> source_;
    int total_ = 0;
    int written_ = 0;
    bool ok_ = true;
};

namespace detail {
class VCardImportWork;
}

// Reads vCards 2.1, 3.0 and 4.0 into the contacts, each through the contact
// form's rules (a new ClientID, the contact category created as the form
// does). A card that cannot be read is reported with its line and skipped,
// copied to the .rejected.vcf file beside the input. What a card holds beyond
// the contact's fields (a second e-mail, a fifth phone, a photo, a birthday)
// and a value cut to its field are said in the summary's notes; a company's
// card (no person's name) takes the company's name as its last name. A file with no card in it is refused. The reading and the
// final store run on a thread of their own (see data::WorkerJob).
class VCardImportJob : public ImportOnThread {
public:
    VCardImportJob(data::Database& db, std::string path, platform::Prompter& prompter);
    ~VCardImportJob() override;
};

}  // namespace hrln::exchange
