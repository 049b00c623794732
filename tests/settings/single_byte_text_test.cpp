#include <gtest/gtest.h>

#include "settings/single_byte_text.h"

namespace trovik {
namespace {

TEST(SingleByteText, Utf8BecomesLatin1OrQuestionMark) {
    EXPECT_EQ(Latin1FromUtf8("Hi"), "Hi");
    EXPECT_EQ(Latin1FromUtf8("caf\xC3\xA9"), "caf\xE9");           // é keeps its Latin-1 code
    EXPECT_EQ(Latin1FromUtf8("\xE2\x82\xAC" "5"), "?5");           // the euro sign has none
    EXPECT_EQ(Latin1FromUtf8("\xF0\x9F\x93\xA1"), "?");            // one character, one '?'
    EXPECT_EQ(Latin1FromUtf8("a\xFF" "b"), "a?b");                 // malformed UTF-8
    EXPECT_EQ(Utf8FromLatin1("caf\xE9"), "caf\xC3\xA9");
}

TEST(SingleByteText, CapitalsAsTheBoxesType) {
    EXPECT_EQ(UpperCaseLatin1("n0call-1,wide"), "N0CALL-1,WIDE");
    EXPECT_EQ(UpperCaseLatin1("\xE9\xF7\xFF"), "\xC9\xF7\xFF");
}

}  // namespace
}  // namespace trovik
