#include "pim/clipboard_monitor.h"

#include "common/text.h"
#include "data/records.h"
#include "data/table.h"

namespace hrln::pim {

std::string ClipHashKey(std::string_view text)
{
    std::string key;
    for (const char c : text::ToUpper(text::Clip(text))) {
        if (c >= 'A' && c <= 'Z') {
            key += c;
            if (key.size() == 40)
                break;
        }
    }
    return key;
}

ClipboardMonitor::ClipboardMonitor(data::Database& db, platform::Clipboard& clipboard,
                                   const data::Settings& settings, const platform::Clock& clock)
    : db_(db), clipboard_(clipboard), settings_(settings), clock_(clock)
{
}

void ClipboardMonitor::step()
{
    if (!settings_.monitorClipboard)
        return;
    if (++ticks_ <= 3)
        return;
    ticks_ = 1;

    const std::string current(text::CutToWidth(text::SanitizeUtf8(clipboard_.text()), kMaxText));
    if (text::Clip(current) == text::Clip(lastSeen_))
        return;
    lastSeen_ = current;
    // Only a text that sorts after a blank is worth keeping: not empty, not
    // blank, not starting with a control character.
    if (!(text::Clip(current) > std::string_view(" ")))
        return;

    data::Table<data::ClipboardRecord> clips(db_);
    clips.clear();
    clips.rec.clipContents = current;
    const platform::DateTime now = clock_.now();
    clips.rec.clipDate = now.date;
    clips.rec.clipTime = now.time;
    clips.rec.user = settings_.currentUser;
    clips.rec.clipHashKey = ClipHashKey(current);
    if (clips.add() != data::kOk)
        return;  // already saved: the key refuses it, silently
    trim(current);
}

void ClipboardMonitor::placed(std::string_view text)
{
    lastSeen_ = std::string(text::CutToWidth(text::SanitizeUtf8(text), kMaxText));
}

void ClipboardMonitor::trim(const std::string& current)
{
    if (limit <= 0)
        return;
    data::Table<data::ClipboardRecord> clips(db_);
    int count = clips.count();
    if (count <= limit)
        return;
    clips.set(data::ClipboardRecord::KeyClipDate);
    while (count > limit && clips.next() == data::kOk) {
        if (text::Clip(clips.rec.clipContents.view()) == text::Clip(current))
            continue;
        if (clips.remove() == data::kOk)
            --count;
    }
}

}  // namespace hrln::pim
