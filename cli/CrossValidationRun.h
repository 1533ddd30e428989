// quillprint-cli --cross-validate and --confidence: the project's own texts
// held out one by one, and how far the answer can be trusted from them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "workspace/Confidence.h"
#include "workspace/CrossValidation.h"
#include "workspace/LengthWarnings.h"
#include "workspace/RunRequest.h"

namespace quillprint::cli {

// The length in words of the disputed text, or with `eachText` the median of
// the lengths of the texts in "Unknown": the checks' default excerpt.
int64_t DisputedWords(const TRunRequest& project, bool eachText);

// The checks of the project's candidates, with a progress line on `err`.
// `disputedWords` is the default excerpt (the disputed text's length; 0 for
// whole texts) when the options give none.
TCrossValidation CrossValidateProject(const TRunRequest& project, const TCliOptions& options, int64_t disputedWords,
                                      std::ostream& err);

// --cross-validate: the figures, per candidate, the confusion matrix and the
// checks as tab-separated tables with a blank line between; or one JSON object.
int PrintCrossValidation(const TRunRequest& project, const TCliOptions& options, std::ostream& out, std::ostream& err);

// ,"confidence":{"top":NAME,"chance":X,"low":X,"high":X,"checks":N,"verdict":NAME or "Cannot tell","inPlay":[...]}
std::string ConfidenceJsonField(const TConfidence& confidence, const std::vector<std::u16string>& names);

// ,"secondOpinion":"Cosine Delta: ..."; empty when there is none.
std::string SecondOpinionJsonField(const std::u16string& secondOpinion);
// ,"warnings":[...]
std::string WarningsJsonField(const std::vector<std::u16string>& warnings);

}  // namespace quillprint::cli
