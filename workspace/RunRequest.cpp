#include "workspace/RunRequest.h"

#include <algorithm>
#include <iterator>

#include "engine/EngineError.h"
#include "engine/ParallelFor.h"
#include "engine/Text.h"
#include "workspace/JobPool.h"
#include "workspace/ProjectFolder.h"

namespace quillprint {

namespace {

TLines ReadSource(const TTextSource& text, const std::string& codePage) {
    if (text.Lines) return *text.Lines;
    return ReadTextFile(ResolvePath(text.Path), codePage);
}

bool IsUnknown(const TAuthorSource& author) { return author.Label == kUnknownLabel; }

}  // namespace

std::optional<std::vector<TAuthorSource>> ProjectAuthors(std::u16string_view projectDir, std::u16string* refusal,
                                                         bool followLinks, std::vector<TSetAsideEntry>* setAside) {
    const std::u16string dir(projectDir);
    const TProjectBounds bounds = ProjectBoundsOf(dir, followLinks);
    std::vector<std::u16string> names;
    std::vector<TSetAside> asideFolders;
    ListFolders(names, dir, bounds, asideFolders);
    const auto unknown = FindUnknownFolder(names);
    const std::vector<std::u16string> asideNames = [&] {
        std::vector<std::u16string> list;
        for (const TSetAside& aside : asideFolders) list.push_back(aside.Name);
        return list;
    }();
    const auto unknownAside = FindUnknownFolder(asideNames);
    if (setAside) {
        for (size_t i = 0; i < asideFolders.size(); ++i)
            setAside->push_back(
                {i == unknownAside ? std::u16string(kUnknownLabel) : asideFolders[i].Name, {}, asideFolders[i].Kind});
    }
    const bool refused = !unknown || CountUnknownFolders(names) > 1;
    if (refused && refusal) *refusal = unknown ? kTwoUnknownMessage : kNoUnknownMessage;
    if (refused) return std::nullopt;
    // The files are listed under the folder's own name, which may differ in
    // letter case from the label "Unknown".
    std::vector<std::u16string> folders = names;
    folders.erase(folders.begin() + static_cast<std::ptrdiff_t>(*unknown));
    folders.insert(folders.begin(), names[*unknown]);
    names.erase(names.begin() + static_cast<std::ptrdiff_t>(*unknown));
    names.insert(names.begin(), std::u16string(kUnknownLabel));

    std::vector<TAuthorSource> authors;
    for (size_t i = 0; i < names.size(); ++i) {
        TAuthorSource author{names[i], {}};
        std::vector<std::u16string> files;
        std::vector<TSetAside> asideFiles;
        ListFiles(files, dir + folders[i] + PathSeparator(), bounds, asideFiles);
        for (auto& file : files) {
            // The path is formed from the labels, as the tree forms it.
            std::u16string path = dir + author.Label + PathSeparator() + file;
            author.Texts.push_back({std::move(file), std::move(path), std::nullopt});
        }
        if (setAside)
            for (TSetAside& aside : asideFiles) setAside->push_back({author.Label, std::move(aside.Name), aside.Kind});
        authors.push_back(std::move(author));
    }
    return authors;
}

int32_t TextsToRead(const TRunRequest& request, bool withTest) {
    int32_t count = 0;
    for (const TAuthorSource& author : request.Authors)
        if (withTest || !IsUnknown(author)) count += static_cast<int32_t>(author.Texts.size());
    return count;
}

std::vector<TCandidateLines> ReadCandidates(const TRunRequest& request, std::u16string* test,
                                            const TReadProgress& progress, std::stop_token stop,
                                            TCandidateLines* unknownLines) {
    const int32_t total = TextsToRead(request, test != nullptr);
    // The texts are read side by side, a few at a time, each into a slot of
    // its own; the progress is told on this thread, in order, as each batch
    // ends. A file that cannot be read ends the reading with the error of the
    // first such file, as reading one after another would.
    std::vector<const TTextSource*> sources;
    for (const TAuthorSource& author : request.Authors)
        if (test || !IsUnknown(author))
            for (const TTextSource& text : author.Texts) sources.push_back(&text);
    std::vector<TLines> read(sources.size());
    const TParallelFor runner = PoolRunner(request.Jobs);
    const size_t batch = 2 * std::max(1u, request.Jobs);
    int32_t done = 0;
    for (size_t first = 0; first < sources.size(); first += batch) {
        if (stop.stop_requested()) throw TCalculationCancelled();
        const size_t count = std::min(batch, sources.size() - first);
        RunParts(runner, count, [&](size_t i) { read[first + i] = ReadSource(*sources[first + i], request.CodePage); });
        if (progress)
            for (size_t i = 0; i < count; ++i) progress(++done, total);
    }
    if (stop.stop_requested()) throw TCalculationCancelled();

    std::vector<TCandidateLines> candidates;
    size_t next = 0;
    for (const TAuthorSource& author : request.Authors) {
        const bool unknown = IsUnknown(author);
        if (unknown && !test) continue;
        TCandidateLines candidate{author.Label, {}, {}, {}};
        for (const TTextSource& text : author.Texts) {
            candidate.TextStarts.push_back(candidate.Lines.size());
            candidate.TextLabels.push_back(text.Label);
            TLines& lines = read[next++];
            if (candidate.Lines.empty())
                candidate.Lines = std::move(lines);
            else
                candidate.Lines.insert(candidate.Lines.end(), std::make_move_iterator(lines.begin()),
                                       std::make_move_iterator(lines.end()));
            TLines().swap(lines);
        }
        if (unknown) {
            *test = JoinLines(candidate.Lines);
            if (unknownLines) *unknownLines = std::move(candidate);
            continue;
        }
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

size_t DisputedTextCount(const TRunRequest& request) {
    size_t count = 0;
    for (const TAuthorSource& author : request.Authors)
        if (IsUnknown(author)) count += author.Texts.size();
    return count;
}

std::vector<TDisputedText> ReadDisputedTexts(const TRunRequest& request, const std::function<bool(size_t)>& wanted,
                                             const TReadProgress& progress, std::stop_token stop) {
    int32_t total = 0;
    size_t position = 0;
    for (const TAuthorSource& author : request.Authors) {
        if (!IsUnknown(author)) continue;
        for (size_t t = 0; t < author.Texts.size(); ++t)
            if (!wanted || wanted(position++)) ++total;
    }
    std::vector<TDisputedText> texts;
    position = 0;
    for (const TAuthorSource& author : request.Authors) {
        if (!IsUnknown(author)) continue;
        for (const TTextSource& text : author.Texts) {
            if (wanted && !wanted(position)) {
                ++position;
                continue;
            }
            if (stop.stop_requested()) throw TCalculationCancelled();
            TDisputedText disputed{position++, text.Label, {}, {}};
            try {
                disputed.Test = JoinLines(ReadSource(text, request.CodePage));
            } catch (const TFileReadError& error) {
                disputed.Error = FromUtf8(error.what());
            }
            texts.push_back(std::move(disputed));
            if (progress) progress(static_cast<int32_t>(texts.size()), total);
        }
    }
    return texts;
}

}  // namespace quillprint
