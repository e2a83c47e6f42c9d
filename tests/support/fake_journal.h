#pragma once

#include "platform/clock.h"

#include <string>
#include <vector>

namespace hrln::test {

// One ordered record of what several fakes were asked to do, each line
// stamped with the clock's time, so a test can check order and moments.
class Journal {
public:
    struct Entry {
        platform::DateTime at;
        std::string what;
    };

    explicit Journal(const platform::Clock* clock = nullptr) : clock_(clock) {}

    void add(std::string what) { entries.push_back({clock_ ? clock_->now() : platform::DateTime{}, std::move(what)}); }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const Entry& e : entries)
            out.push_back(e.what);
        return out;
    }

    std::vector<Entry> entries;

private:
    const platform::Clock* clock_;
};

inline void Note(Journal* journal, std::string what)
{
    if (journal != nullptr)
        journal->add(std::move(what));
}

}  // namespace hrln::test
