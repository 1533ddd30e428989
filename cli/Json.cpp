#include "cli/Json.h"

#include <cmath>
#include <cstdio>

#include "engine/Text.h"

namespace quillprint::cli {

void AppendJsonString(std::string& out, std::u16string_view value) {
    out += '"';
    for (const char c : ToUtf8(value)) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
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
