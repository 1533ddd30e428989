#include "workspace/HeldOutTexts.h"

#include <algorithm>
#include <map>

namespace quillprint {

namespace {

bool IsSeparator(char16_t unit) { return unit >= 1 && unit <= 32; }

// Calls visit(line, begin, end) for every word of `lines`, in order.
template <class TVisit>
void ForEachWord(const TLines& lines, TVisit&& visit) {
    for (size_t l = 0; l < lines.size(); ++l) {
        const std::u16string& line = lines[l];
        size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && IsSeparator(line[i])) ++i;
            if (i == line.size()) break;
            const size_t begin = i;
            while (i < line.size() && !IsSeparator(line[i])) ++i;
            visit(l, begin, i);
        }
    }
}

// Per line, the span [begin, end) of its words that fall in the range; npos
// when none does.
struct TSpan {
    size_t Begin = std::u16string::npos;
    size_t End = 0;
};

std::vector<TSpan> SpansInRange(const TLines& lines, int64_t first, int64_t words) {
    std::vector<TSpan> spans(lines.size());
    int64_t index = 0;
    const int64_t last = first + words;
    ForEachWord(lines, [&](size_t line, size_t begin, size_t end) {
        if (index >= first && index < last) {
            TSpan& span = spans[line];
            span.Begin = std::min(span.Begin, begin);
            span.End = end;
        }
        ++index;
    });
    return spans;
}

TCandidateLines SampleOf(const TCandidateLines& candidate, const std::vector<size_t>& texts) {
    TCandidateLines sample;
    sample.Name = candidate.Name;
    for (const size_t t : texts) {
        const size_t begin = candidate.TextStarts[t];
        const size_t end = t + 1 < candidate.TextStarts.size() ? candidate.TextStarts[t + 1] : candidate.Lines.size();
        sample.TextStarts.push_back(sample.Lines.size());
        if (t < candidate.TextLabels.size()) sample.TextLabels.push_back(candidate.TextLabels[t]);
        sample.Lines.insert(sample.Lines.end(), candidate.Lines.begin() + static_cast<ptrdiff_t>(begin),
                            candidate.Lines.begin() + static_cast<ptrdiff_t>(end));
    }
    return sample;
}

std::u16string PartLabel(const std::u16string& label, int32_t part) {
    return label + u" (part " + FromUtf8(std::to_string(part)) + u" of " + FromUtf8(std::to_string(kSingleTextParts)) +
           u")";
}

// The candidate's only source cut into parts of about equal numbers of words.
void AddParts(size_t c, const TCandidateLines& candidate, const std::u16string& label,
              std::vector<THeldOutText>& checks) {
    const int64_t words = CountWords(candidate.Lines);
    if (words == 0) return;
    for (int32_t part = 0; part < kSingleTextParts; ++part) {
        const int64_t begin = words * part / kSingleTextParts;
        const int64_t end = words * (part + 1) / kSingleTextParts;
        if (end == begin) continue;
        THeldOutText check;
        check.Candidate = c;
        check.Label = PartLabel(label, part + 1);
        check.Lines = WordRange(candidate.Lines, begin, end - begin);
        check.Sample.Name = candidate.Name;
        check.Sample.Lines = WithoutWordRange(candidate.Lines, begin, end - begin);
        check.Sample.TextStarts = {0};
        check.Sample.TextLabels = {label};
        checks.push_back(std::move(check));
    }
}

}  // namespace

int64_t CountWords(const TLines& lines) {
    int64_t words = 0;
    ForEachWord(lines, [&](size_t, size_t, size_t) { ++words; });
    return words;
}

TLines WordRange(const TLines& lines, int64_t first, int64_t words) {
    TLines range;
    const std::vector<TSpan> spans = SpansInRange(lines, first, words);
    for (size_t l = 0; l < lines.size(); ++l)
        if (spans[l].Begin != std::u16string::npos)
            range.push_back(lines[l].substr(spans[l].Begin, spans[l].End - spans[l].Begin));
    return range;
}

TLines WithoutWordRange(const TLines& lines, int64_t first, int64_t words) {
    TLines rest;
    const std::vector<TSpan> spans = SpansInRange(lines, first, words);
    for (size_t l = 0; l < lines.size(); ++l) {
        const TSpan& span = spans[l];
        if (span.Begin == std::u16string::npos) {
            rest.push_back(lines[l]);
            continue;
        }
        std::u16string line = lines[l].substr(0, span.Begin);
        const std::u16string after = lines[l].substr(span.End);
        // What is left of the line on both sides stays two words apart.
        if (!line.empty() && !after.empty()) line += u' ';
        line += after;
        if (CountWords({line}) > 0) rest.push_back(std::move(line));
    }
    return rest;
}

std::vector<THeldOutText> HeldOutTexts(const std::vector<TCandidateLines>& candidates) {
    std::vector<THeldOutText> checks;
    for (size_t c = 0; c < candidates.size(); ++c) {
        const TCandidateLines& candidate = candidates[c];
        const size_t texts = candidate.TextStarts.empty() ? 1 : candidate.TextStarts.size();
        // Texts of the same file (the same label) form one group.
        std::vector<std::u16string> labels(texts);
        for (size_t t = 0; t < texts; ++t)
            labels[t] =
                t < candidate.TextLabels.size() ? candidate.TextLabels[t] : u"text " + FromUtf8(std::to_string(t + 1));
        std::vector<std::u16string> groupOrder;
        std::map<std::u16string, std::vector<size_t>> groups;
        for (size_t t = 0; t < texts; ++t) {
            auto& members = groups[labels[t]];
            if (members.empty()) groupOrder.push_back(labels[t]);
            members.push_back(t);
        }
        if (groupOrder.size() < 2 || candidate.TextStarts.empty()) {
            AddParts(c, candidate, groupOrder.empty() ? candidate.Name : groupOrder.front(), checks);
            continue;
        }
        for (const std::u16string& label : groupOrder) {
            const std::vector<size_t>& members = groups[label];
            std::vector<size_t> others;
            for (size_t t = 0; t < texts; ++t)
                if (std::find(members.begin(), members.end(), t) == members.end()) others.push_back(t);
            THeldOutText check;
            check.Candidate = c;
            check.Label = label;
            check.Lines = SampleOf(candidate, members).Lines;
            if (CountWords(check.Lines) == 0) continue;
            check.Sample = SampleOf(candidate, others);
            checks.push_back(std::move(check));
        }
    }
    return checks;
}

}  // namespace quillprint
