#include <gtest/gtest.h>

#include <string>

#include "cli/CliOutput.h"

namespace quillprint::cli {
namespace {

TEST(VisibleText, EscapesEveryTerminalControl) {
    struct TCase {
        std::string Text;
        std::string Shown;           // TLineFeed::Escape
        std::string ShownKeepingLf;  // TLineFeed::Keep
    };
    for (const TCase& c : {
             TCase{"plain Émile 文字 🙂", "plain Émile 文字 🙂", "plain Émile 文字 🙂"},
             TCase{"", "", ""},
             // C0: ESC, BEL, NUL, TAB, CR; LF only where a message keeps it.
             TCase{std::string("a\x1b[2J\x07\0\t\r\nb", 11), "a\\x1b[2J\\x07\\x00\\x09\\x0d\\x0ab",
                   "a\\x1b[2J\\x07\\x00\\x09\\x0d\nb"},
             TCase{"del\x7f", "del\\x7f", "del\\x7f"},
             // C1 as UTF-8: U+0080, NEL U+0085, CSI U+009B, U+009F; U+00A0 is text.
             TCase{"\xc2\x80\xc2\x85\xc2\x9b\xc2\x9f\xc2\xa0", "\\x80\\x85\\x9b\\x9f\xc2\xa0",
                   "\\x80\\x85\\x9b\\x9f\xc2\xa0"},
             // Bytes that are no UTF-8 (a raw 0x9B is CSI to an 8-bit terminal).
             TCase{"x\x9b\xff\xc3y\xe2\x82", "x\\x9b\\xff\\xc3y\\xe2\\x82", "x\\x9b\\xff\\xc3y\\xe2\\x82"},
         }) {
        EXPECT_EQ(VisibleText(c.Text), c.Shown) << c.Text;
        EXPECT_EQ(VisibleText(c.Text, TLineFeed::Keep), c.ShownKeepingLf) << c.Text;
        EXPECT_EQ(VisibleMessage(c.Text), c.ShownKeepingLf) << c.Text;
    }
    EXPECT_EQ(VisibleUtf8(u"a\u001b\u007f\u0085\u009b\u00a0z"), "a\\x1b\\x7f\\x85\\x9b\u00a0z");
}

}  // namespace
}  // namespace quillprint::cli
