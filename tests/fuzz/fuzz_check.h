#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// What the fuzz harnesses share: a failed property ends the run with what was
// expected and the input that broke it, so the run stops as a crash would
// (libFuzzer then keeps the input; our driver prints it).
namespace hrln::fuzz {

// The input being tried, set by the driver for the report of a failure.
inline std::string_view currentInput;

[[noreturn]] inline void Fail(const char* property, const std::string& detail, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property failed: %s\n  %s\n  input (%zu bytes):", file, line, property,
                 detail.c_str(), currentInput.size());
    for (const char c : currentInput)
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(c));
    std::fprintf(stderr, "\n");
    std::abort();
}

// Takes an input apart into the values a harness builds its case from; past
// the end every value is empty or 0.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : bytes_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t byte() { return at_ < bytes_.size() ? static_cast<std::uint8_t>(bytes_[at_++]) : 0; }
    std::int64_t number(int bytes)
    {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v = v << 8 | byte();
        return static_cast<std::int64_t>(v);
    }
    // A piece of up to `max` bytes, its length given by the byte before it.
    std::string_view text(std::size_t max)
    {
        const std::size_t wanted = byte() % (max + 1);
        const std::size_t n = std::min(wanted, bytes_.size() - at_);
        const std::string_view piece = bytes_.substr(at_, n);
        at_ += n;
        return piece;
    }
    std::string_view rest()
    {
        const std::string_view piece = bytes_.substr(at_);
        at_ = bytes_.size();
        return piece;
    }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

}  // namespace hrln::fuzz

#define FUZZ_CHECK(condition, detail)                                                   \
    do {                                                                                \
        if (!(condition))                                                               \
            ::hrln::fuzz::Fail(#condition, (detail), __FILE__, __LINE__);               \
    } while (false)
