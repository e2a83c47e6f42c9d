#include "script/send_keys.h"

#include "data/settings.h"
#include "script/key_notation.h"

#include <algorithm>
#include <string>

namespace hrln::script {

namespace {

bool Deliver(const KeyChunk& chunk, platform::Keyboard& keyboard)
{
    switch (chunk.kind) {
    case KeyChunk::Kind::Key:
        return keyboard.sendKey(chunk.code);
    case KeyChunk::Kind::Text:
        return chunk.text.empty() || keyboard.typeText(chunk.text);
    case KeyChunk::Kind::Nothing:
        break;
    }
    return true;
}

}  // namespace

bool SendKeyByName(std::string_view name, platform::Keyboard& keyboard)
{
    return Deliver(ChunkForKeyName(name), keyboard);
}

SendResult SendKeystrokes(std::string_view keys, const KeySending& how)
{
    const int delay = std::max(how.scriptingDelay, data::kMinScriptingDelay);
    const std::vector<KeyChunk> chunks = ParseKeystrokes(keys, how.burstSize);

    std::string iconBefore;
    bool iconChanged = false;
    std::size_t frame = 0;
    SendResult result = SendResult::Sent;
    for (const KeyChunk& chunk : chunks) {
        // A duration, not a clock reading: the pause is the same across midnight.
        how.pump.pause(delay);
        if (how.stopRequested && how.stopRequested()) {
            result = SendResult::Stopped;
            break;
        }
        if (how.tray.isShown()) {
            if (!iconChanged)
                iconBefore = how.tray.iconName();
            iconChanged = true;
            how.tray.showIcon(kTypingIcons[frame++ % std::size(kTypingIcons)], kTypingTip);
        }
        if (!Deliver(chunk, how.keyboard)) {
            result = SendResult::Failed;
            break;
        }
    }
    if (iconChanged && how.tray.isShown())
        how.tray.showIcon(iconBefore, {});
    return result;
}

}  // namespace hrln::script
