#include "cli/Json.h"

#include <cmath>
#include <cstdio>

#include "engine/Text.h"

namespace quillprint::cli {

void AppendJsonString(std::string& out, std::u16string_view value) {
    // C0 controls, DEL and C1 controls become \u escapes: valid JSON, and
    // harmless when the output reaches a terminal.
    out += '"';
    size_t begin = 0;
    const auto flush = [&](size_t end) { out += ToUtf8(value.substr(begin, end - begin)); };
    for (size_t i = 0; i < value.size(); ++i) {
        const char16_t c = value[i];
        const char* escape = nullptr;
        switch (c) {
            case u'"': escape = "\\\""; break;
            case u'\\': escape = "\\\\"; break;
            case u'\n': escape = "\\n"; break;
            case u'\r': escape = "\\r"; break;
            case u'\t': escape = "\\t"; break;
            default: break;
        }
        if (!escape && !IsControlCharacter(c)) continue;
        flush(i);
        if (escape) {
            out += escape;
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
            out += code;
        }
        begin = i + 1;
    }
    flush(value.size());
    out += '"';
}

void AppendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    out += text;
}

}  // namespace quillprint::cli
