#include "engine/ChatExtractor.h"

#include <climits>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace quillprint {

namespace {

// Up to this many participants each line is searched once per entry. With
// more (a large group chat), one pass of an Aho-Corasick automaton over the
// line finds the same participant: the first in list order whose entry
// occurs, at that entry's first occurrence.
constexpr size_t kEntriesSearchedOneByOne = 8;

class TEntryMatcher {
public:
    explicit TEntryMatcher(const std::vector<std::unique_ptr<TAuthor>>& authors) {
        size_t length = 0;
        for (const auto& author : authors) length += author->Name().size();
        FEdges.reserve(length);
        NewState();
        for (size_t index = 0; index < authors.size(); ++index) {
            int32_t state = 0;
            for (const char16_t c : authors[index]->Name()) {
                int32_t next = Child(state, c);
                if (next < 0) {
                    next = NewState();
                    FEdges.emplace(Key(state, c), next);
                    FChildren[static_cast<size_t>(state)].emplace_back(c, next);
                }
                state = next;
            }
            // An empty entry never matches: it ends at the root, which is never reported.
            if (state != 0) FFirst[static_cast<size_t>(state)] = std::min(FFirst[static_cast<size_t>(state)],
                                                                          static_cast<int32_t>(index));
        }
        // Failure links breadth first; each state also reports the entries
        // that end in its longest proper suffix state.
        std::vector<int32_t> queue;
        for (const auto& [c, child] : FChildren[0]) queue.push_back(child);
        for (size_t head = 0; head < queue.size(); ++head) {
            const int32_t state = queue[head];
            for (const auto& [c, child] : FChildren[static_cast<size_t>(state)]) {
                int32_t fail = FFail[static_cast<size_t>(state)];
                while (fail != 0 && Child(fail, c) < 0) fail = FFail[static_cast<size_t>(fail)];
                const int32_t target = Child(fail, c);
                FFail[static_cast<size_t>(child)] = target >= 0 && target != child ? target : 0;
                FFirst[static_cast<size_t>(child)] =
                    std::min(FFirst[static_cast<size_t>(child)], FFirst[static_cast<size_t>(FFail[static_cast<size_t>(child)])]);
                queue.push_back(child);
            }
        }
    }

    // The lowest participant index whose entry occurs in `line` and the end
    // of that entry's first occurrence; -1 when none occurs.
    std::pair<int32_t, size_t> First(std::u16string_view line) const {
        int32_t best = INT32_MAX;
        size_t end = 0;
        int32_t state = 0;
        for (size_t i = 0; i < line.size() && best != 0; ++i) {
            int32_t next;
            while ((next = Child(state, line[i])) < 0 && state != 0) state = FFail[static_cast<size_t>(state)];
            state = next < 0 ? 0 : next;
            // A smaller index seen for the first time ends its first occurrence here.
            if (FFirst[static_cast<size_t>(state)] < best) {
                best = FFirst[static_cast<size_t>(state)];
                end = i + 1;
            }
        }
        return {best == INT32_MAX ? -1 : best, end};
    }

private:
    static uint64_t Key(int32_t state, char16_t c) { return (static_cast<uint64_t>(state) << 16) | c; }
    int32_t Child(int32_t state, char16_t c) const {
        const auto edge = FEdges.find(Key(state, c));
        return edge == FEdges.end() ? -1 : edge->second;
    }
    int32_t NewState() {
        FFail.push_back(0);
        FFirst.push_back(INT32_MAX);
        FChildren.emplace_back();
        return static_cast<int32_t>(FFail.size() - 1);
    }

    std::unordered_map<uint64_t, int32_t> FEdges;
    std::vector<int32_t> FFail;
    std::vector<int32_t> FFirst;
    std::vector<std::vector<std::pair<char16_t, int32_t>>> FChildren;
};

}  // namespace

void TAuthorExtractorViber::Execute(const std::vector<std::u16string>& ALines)
{
    if (FAuthors.size() > kEntriesSearchedOneByOne) {
        const TEntryMatcher matcher(FAuthors);
        for (const std::u16string& line : ALines) {
            const auto [index, end] = matcher.First(line);
            if (index >= 0)
                FAuthors[static_cast<size_t>(index)]->OwnWords().push_back(line.substr(end));
        }
        return;
    }
    for (const std::u16string& line : ALines) {
        for (const auto& author : FAuthors) {
            const std::u16string& entry = author->Name();
            if (entry.empty())
                continue;
            const size_t hit = line.find(entry);
            if (hit == std::u16string::npos)
                continue;
            author->OwnWords().push_back(line.substr(hit + entry.size()));
            break;
        }
    }
}

}  // namespace quillprint
