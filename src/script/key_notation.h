#pragma once

#include "platform/keyboard.h"

#include <string>
#include <string_view>
#include <vector>

namespace hrln::script {

// One paced step of typing: the pause before it, then at most one action.
struct KeyChunk {
    enum class Kind {
        Nothing,  // only the pause ("[PAUSE]", or a "[" that never closes)
        Key,      // one key code
        Text,     // plain characters
    };
    Kind kind = Kind::Nothing;
    platform::KeyCode code = 0;
    std::string text;

    friend bool operator==(const KeyChunk&, const KeyChunk&) = default;
};

// Splits a keystroke field into its chunks: plain text ahead of a bracket in
// pieces of at most `burstSize` characters, each bracketed name on its own,
// and text after the last bracket in one piece without its trailing blanks.
// A bracketed word that is no key name becomes text, without the brackets.
std::vector<KeyChunk> ParseKeystrokes(std::string_view keys, int burstSize);

// The chunk for the text between two brackets.
KeyChunk ChunkForKeyName(std::string_view name);

}  // namespace hrln::script
