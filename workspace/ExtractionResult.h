// What a chat extraction produced, as data: one entry per participant kept.
// The window adds it to the tree (TProject::AddExtraction); the command-line
// tool prints its tables from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "workspace/TextReader.h"

namespace quillprint {

struct TExtractedParticipant {
    std::u16string Entry;        // as it stands in the export's lines
    std::u16string Name;         // the new author's label, or the name of its folder
    int32_t Lines = 0;           // the messages the splitter gave it
    bool IsUnknownText = false;  // its lines are the text to attribute
    TLines Text;                 // its lines when kept in memory; empty when they went straight to a file
};

struct TExtractionResult {
    std::u16string ExportName;                        // the export's file name, the label of each new text
    std::vector<TExtractedParticipant> Participants;  // in the splitter's order
};

}  // namespace quillprint
