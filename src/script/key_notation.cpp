#include "script/key_notation.h"

#include "common/text.h"
#include "script/key_table.h"

namespace hrln::script {

KeyChunk ChunkForKeyName(std::string_view name)
{
    const KeyLookup found = LookUpKeyName(name);
    switch (found.kind) {
    case KeyLookup::Kind::Key:
        return {KeyChunk::Kind::Key, found.code, {}};
    case KeyLookup::Kind::Nothing:
        return {};
    case KeyLookup::Kind::Unknown:
        break;
    }
    // Not a key: typed as written, in the user's own letter case.
    return {KeyChunk::Kind::Text, 0, std::string(name)};
}

std::vector<KeyChunk> ParseKeystrokes(std::string_view keys, int burstSize)
{
    const std::size_t burst = burstSize < 1 ? 1 : static_cast<std::size_t>(burstSize);
    std::vector<KeyChunk> chunks;
    std::string_view rest = keys;
    while (!text::Clip(rest).empty()) {
        const std::size_t open = rest.find('[');
        if (open == std::string_view::npos) {
            chunks.push_back({KeyChunk::Kind::Text, 0, std::string(text::Clip(rest))});
            break;
        }
        if (open == 0) {
            const std::size_t close = rest.find(']', 1);
            if (close == std::string_view::npos) {
                // The "[" is lost; its step still costs a pause.
                chunks.emplace_back();
                rest.remove_prefix(1);
                continue;
            }
            chunks.push_back(ChunkForKeyName(rest.substr(1, close - 1)));
            rest.remove_prefix(close + 1);
            continue;
        }
        // Counted in characters, so a burst never splits one.
        const std::string_view piece = text::CutToWidth(rest.substr(0, open), burst);
        chunks.push_back({KeyChunk::Kind::Text, 0, std::string(piece)});
        rest.remove_prefix(piece.size());
    }
    return chunks;
}

}  // namespace hrln::script
