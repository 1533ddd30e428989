#include "engine/Normalization.h"

#include <string>

namespace quillprint {
namespace {

bool IsRemovedMark(char16_t c)
{
    return c == u',' || c == u'.' || c == u';' || c == u'!' || c == u'?' || c == u'(' || c == u')';
}

}  // namespace

// One pass through three steps, each taking what the one before gives:
// the single punctuation marks vanish; " - " vanishes wherever it stands,
// found left to right, never in what it left; of every two blanks in a row
// one is dropped (a run of k blanks becomes ceil(k / 2)). What comes out is
// lower-cased in "A" to "Z" and trimmed of code units 0 to 32 at both ends.
// The text never grows, so it is written into a string of the input's
// size that is cut to its length at the end.
std::u16string NormalizeText(std::u16string_view text)
{
    std::u16string result(text.size(), u'\0');
    char16_t* const out = result.data();
    size_t written = 0;
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    bool begun = false;  // a code unit above 32 was written: the leading trim is over
    const auto write = [&](char16_t c) {
        if (!begun) {
            if (c <= 32)
                return;
            begun = true;
        }
        out[written++] = lower(c);
    };
    // The halving of blank runs: a blank waits for the next code unit.
    bool blankHeld = false;
    const auto halve = [&](char16_t c) {
        if (c == u' ') {
            if (blankHeld)
                write(u' ');
            blankHeld = !blankHeld;
            return;
        }
        if (blankHeld) {
            write(u' ');
            blankHeld = false;
        }
        write(c);
    };
    // The search for " - ": how much of it is held back (nothing, " ", " -").
    int held = 0;
    const size_t size = text.size();
    for (size_t i = 0; i < size; ++i) {
        // Every code unit that any step looks at is at most "?": with
        // nothing held, a run of others is copied as it stands (lowered),
        // and so is one after a single blank.
        if (held == 0 && !blankHeld && begun) {
            while (i < size && text[i] > u'?')
                out[written++] = lower(text[i++]);
            if (i == size)
                break;
        } else if (held == 1 && !blankHeld && begun && text[i] > u'?') {
            out[written++] = u' ';
            out[written++] = lower(text[i]);
            held = 0;
            continue;
        }
        const char16_t c = text[i];
        if (IsRemovedMark(c))
            continue;
        if (held == 0) {
            if (c == u' ')
                held = 1;
            else
                halve(c);
        } else if (held == 1) {
            if (c == u'-') {
                held = 2;
            } else if (c != u' ') {
                halve(u' ');
                halve(c);
                held = 0;
            } else {
                halve(u' ');  // the held blank goes on; this one may begin " - "
            }
        } else {
            held = 0;
            if (c != u' ') {
                halve(u' ');
                halve(u'-');
                halve(c);
            }
        }
    }
    if (held >= 1)
        halve(u' ');
    if (held == 2)
        halve(u'-');
    if (blankHeld)
        write(u' ');
    while (written > 0 && out[written - 1] <= 32)
        --written;
    result.resize(written);
    return result;
}

}  // namespace quillprint
