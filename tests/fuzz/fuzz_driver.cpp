// Runs a harness without libFuzzer: every seed input as it is, then a fixed
// number of inputs drawn from a fixed seed, a third of them random bytes and
// the rest seeds mutated, so a run is the same everywhere and bounded in time.
#include "fuzz_check.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// A small generator of our own: the same numbers from the same seed with any
// standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next()
    {
        state_ += 0x9e3779b97f4a7c15ULL;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }

private:
    std::uint64_t state_;
};

// Bytes that mean something to some parser: quotes, brackets, separators, line
// ends, the starts of multi-byte characters.
constexpr char kSpecial[] = {'"', ',', '[', ']', '=', '\r', '\n', ' ', '\t', '\0', '\\', '{', '}', '+', '^',
                             '%', '~', '(', ')', '\x7f', '\xc3', '\xa9', '\xe2', '\x82', '\xac', '\xf0', '\xff'};

char AnyByte(Random& random)
{
    return random.below(2) == 0 ? static_cast<char>(random.below(256)) : kSpecial[random.below(sizeof kSpecial)];
}

void Mutate(std::string& s, const std::vector<std::string>& seeds, Random& random, std::size_t maxLength)
{
    const std::size_t steps = 1 + random.below(4);
    for (std::size_t step = 0; step < steps; ++step) {
        const std::size_t at = random.below(s.size() + 1);
        switch (random.below(6)) {
        case 0:
            if (at < s.size())
                s[at] = AnyByte(random);
            break;
        case 1: s.insert(s.begin() + static_cast<std::ptrdiff_t>(at), AnyByte(random)); break;
        case 2: s.erase(at, random.below(8)); break;
        case 3:
            if (at < s.size())
                s.insert(random.below(s.size() + 1), s.substr(at, 1 + random.below(16)));
            break;
        case 4:
            if (!seeds.empty()) {
                const std::string& other = seeds[random.below(seeds.size())];
                const std::size_t from = random.below(other.size() + 1);
                s.insert(at, other.substr(from, random.below(32)));
            }
            break;
        case 5:
            if (at < s.size())
                s[at] = static_cast<char>(s[at] ^ (1 << random.below(8)));
            break;
        }
    }
    if (s.size() > maxLength)
        s.resize(maxLength);
}

// The input in a buffer of exactly its size, so a read past its end is caught
// by the address sanitizer.
void Run(const std::string& input)
{
    const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[std::max<std::size_t>(input.size(), 1)]);
    std::copy(input.begin(), input.end(), copy.get());
    hrln::fuzz::currentInput = input;
    LLVMFuzzerTestOneInput(copy.get(), input.size());
}

}  // namespace

// fuzz_HARNESS [--runs N] [--seed S] [--max-length L] [--max-seconds T] [SEED_FOLDER...]
int main(int argc, char** argv)
{
    std::uint64_t runs = 20000, seed = 1;
    std::size_t maxLength = 1024;
    double maxSeconds = 20;
    std::vector<std::string> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 < argc && (arg == "--runs" || arg == "--seed" || arg == "--max-length" || arg == "--max-seconds")) {
            const std::string value = argv[++i];
            if (arg == "--runs")
                runs = std::stoull(value);
            else if (arg == "--seed")
                seed = std::stoull(value);
            else if (arg == "--max-length")
                maxLength = std::stoul(value);
            else
                maxSeconds = std::stod(value);
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(arg))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());  // the folder's order is the file system's
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }

    const auto start = std::chrono::steady_clock::now();
    for (const std::string& s : seeds)
        Run(s);
    Random random(seed);
    std::uint64_t done = 0;
    for (; done < runs; ++done) {
        std::string input;
        if (seeds.empty() || random.below(3) == 0) {
            input.resize(random.below(std::min<std::size_t>(maxLength, 256) + 1));
            for (char& c : input)
                c = AnyByte(random);
        } else {
            input = seeds[random.below(seeds.size())];
            Mutate(input, seeds, random, maxLength);
        }
        Run(input);
        // A slow machine (or a sanitizer) runs fewer inputs, never longer.
        if (done % 256 == 0 &&
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > maxSeconds)
            break;
    }
    std::cout << seeds.size() << " seed inputs and " << done << " generated inputs (seed " << seed << ") passed\n";
    return 0;
}
