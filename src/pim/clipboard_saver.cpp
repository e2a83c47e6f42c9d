#include "pim/clipboard_saver.h"

#include "common/text.h"
#include "data/records.h"
#include "data/table.h"
#include "pim/record_warnings.h"

namespace hrln::pim {
namespace {

// Characters that change the direction of the text after them.
bool IsDirectionControl(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F ||
           c == 0x061C;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string ClipListText(std::string_view contents)
{
    const std::string clean = text::SanitizeUtf8(text::CutToWidth(text::SanitizeUtf8(contents), kClipListWidth));
    std::string out;
    out.reserve(clean.size());
    for (std::size_t i = 0; i < clean.size();) {
        const auto lead = static_cast<unsigned char>(clean[i]);
        const std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = lead < 0x80 ? lead : lead < 0xE0 ? (lead & 0x1F) : lead < 0xF0 ? (lead & 0x0F) : (lead & 0x07);
        for (std::size_t k = 1; k < len && i + k < clean.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(clean[i + k]) & 0x3F);
        i += len;
        if (c == '\r' || c == '\n') {
            out += kLineBreakMark;
            if (c == '\r' && i < clean.size() && clean[i] == '\n')
                ++i;  // one mark for CR LF
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029) {
            out += ' ';
        } else if (!IsDirectionControl(c)) {
            AppendUtf8(out, c);
        }
    }
    return out;
}

int ClearClipboardSaver(data::Database& db, platform::Prompter& prompter)
{
    data::Table<data::ClipboardRecord> clips(db);
    const int count = clips.count();
    if (count <= 0)
        return 0;
    platform::MessageBox box;
    box.text = "Delete all " + std::to_string(count) +
               " saved clipboard texts?  They cannot be brought back.";
    box.caption = "Clear All";
    box.icon = platform::MessageIcon::Question;
    box.buttons = platform::MessageButtons::YesNo;
    box.defaultButton = platform::MessageButton::No;
    if (prompter.ask(box) != platform::MessageButton::Yes)
        return -1;

    RecordWarnings warnings(prompter);
    if (const int err = db.begin(); err != data::kOk) {
        warnings.transactionError(data::ClipboardRecord::schema().name(), "Delete", err);
        return -1;
    }
    int deleted = 0;
    clips.set(data::ClipboardRecord::KeyClipDate);
    while (clips.next() == data::kOk) {
        if (const int err = clips.remove(); err != data::kOk) {
            db.rollback();
            warnings.deleteError(data::ClipboardRecord::schema().name(), err);
            return -1;
        }
        ++deleted;
    }
    // Texts without letters stand outside the hash key but in the date key: all are gone now.
    if (const int err = db.commit(); err != data::kOk) {
        db.rollback();
        warnings.transactionError(data::ClipboardRecord::schema().name(), "Delete", err);
        return -1;
    }
    return deleted;
}

}  // namespace hrln::pim
