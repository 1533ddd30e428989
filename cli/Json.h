// The pieces of JSON that quillprint-cli writes.
#pragma once

#include <string>
#include <string_view>

namespace quillprint::cli {

// A JSON string of UTF-16 text, written as UTF-8.
void AppendJsonString(std::string& out, std::u16string_view value);
// 17 significant digits give back the same double; JSON has no NaN or
// infinity, so those become null.
void AppendJsonNumber(std::string& out, double value);

}  // namespace quillprint::cli
