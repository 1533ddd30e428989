// Splits the lines of a Viber chat export into one text per participant.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Author.h"

namespace quillprint {

class TAuthorExtractorViber {
public:
    TAuthorExtractorViber() = default;
    virtual ~TAuthorExtractorViber() = default;

    // The participants, each named by its entry ("Name,+123456,"); the caller
    // adds them before Execute and reads their texts afterwards.
    std::vector<std::unique_ptr<TAuthor>>& Authors() { return FAuthors; }

    // Gives each line to the first participant (in list order) whose entry
    // occurs in it: the part after that occurrence becomes one entry of the
    // participant's OwnWords(). Lines without any entry are dropped.
    void Execute(const std::vector<std::u16string>& ALines);

private:
    std::vector<std::unique_ptr<TAuthor>> FAuthors;
};

}  // namespace quillprint
