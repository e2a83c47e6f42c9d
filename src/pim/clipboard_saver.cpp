#include "pim/clipboard_saver.h"

#include "common/text.h"
#include "common/translate.h"
#include "data/records.h"
#include "data/table.h"
#include "pim/record_warnings.h"

#include <algorithm>

namespace hrln::pim {
namespace {

// Characters that change the direction of the text after them.
bool IsDirectionControl(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F ||
           c == 0x061C;
}

}  // namespace

std::string ClipListText(std::string_view contents)
{
    const std::string clean(text::CutToWidth(text::SanitizeUtf8(contents), kClipListWidth));
    std::string out;
    out.reserve(clean.size());
    for (std::size_t i = 0; i < clean.size();) {
        char32_t c = 0;
        i += std::max<std::size_t>(text::DecodeUtf8(clean, i, c), 1);  // valid after the cleaning
        if (c == '\r' || c == '\n') {
            out += kLineBreakMark;
            if (c == '\r' && i < clean.size() && clean[i] == '\n')
                ++i;  // one mark for CR LF
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029) {
            out += ' ';
        } else if (!IsDirectionControl(c)) {
            text::AppendUtf8(out, c);
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
    box.text = FillIn(HrlnTranslate("ClipboardSaver", "Delete all %1 saved clipboard texts?  They cannot be brought back."),
                      {std::to_string(count)});
    box.caption = HrlnTranslate("ClipboardSaver", "Clear All");
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
