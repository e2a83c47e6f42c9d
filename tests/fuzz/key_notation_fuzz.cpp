// The key notation: parsing takes nothing but the input's own bytes, gives the
// same chunks every time, and the burst size only decides where plain text is
// split, never what is typed.
#include "fuzz_check.h"
#include "script/key_notation.h"

#include <string>
#include <vector>

namespace {

using hrln::script::KeyChunk;

// Neighbouring texts joined: what is typed, whatever the bursts.
std::vector<KeyChunk> Joined(const std::vector<KeyChunk>& chunks)
{
    std::vector<KeyChunk> out;
    for (const KeyChunk& c : chunks) {
        if (c.kind == KeyChunk::Kind::Text && !out.empty() && out.back().kind == KeyChunk::Kind::Text)
            out.back().text += c.text;
        else
            out.push_back(c);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    hrln::fuzz::Reader input(data, size);
    const int burst = input.byte() % 20 - 2;  // below 1 included
    const std::string_view keys = input.rest();

    const std::vector<KeyChunk> chunks = hrln::script::ParseKeystrokes(keys, burst);
    FUZZ_CHECK(chunks == hrln::script::ParseKeystrokes(keys, burst), "a second parse differs");
    FUZZ_CHECK(chunks.size() <= keys.size(), std::to_string(chunks.size()) + " chunks");
    std::size_t textBytes = 0;
    for (const KeyChunk& c : chunks) {
        if (c.kind == KeyChunk::Kind::Text) {
            FUZZ_CHECK(keys.find(c.text) != std::string_view::npos, "text not in the input: " + c.text);
            textBytes += c.text.size();
        } else {
            FUZZ_CHECK(c.text.empty(), c.text);
        }
        FUZZ_CHECK(c.kind == KeyChunk::Kind::Key || c.code == 0, "a key code on a chunk that is no key");
    }
    FUZZ_CHECK(textBytes <= keys.size(), std::to_string(textBytes));
    FUZZ_CHECK(Joined(chunks) == Joined(hrln::script::ParseKeystrokes(keys, 1000)),
               "the burst size changed what is typed");

    // A name on its own is the same chunk as that name in brackets.
    const std::string_view name = keys.substr(0, keys.find_first_of("[]"));
    if (!name.empty() && name.find_last_not_of(' ') != std::string_view::npos) {
        const std::vector<KeyChunk> bracketed = hrln::script::ParseKeystrokes("[" + std::string(name) + "]", burst);
        FUZZ_CHECK(bracketed.size() == 1 && bracketed.front() == hrln::script::ChunkForKeyName(name),
                   std::string(name));
    }
    return 0;
}
