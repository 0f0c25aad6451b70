// Files opened for editing come back byte for byte: their encoding, line
// ends and byte-order mark survive, and what the encoding cannot hold is
// refused with its place instead of being replaced.
#include <gtest/gtest.h>

#include "kb/base_file.h"
#include "kb/text_encoding.h"

namespace torv::kb {
namespace {

using Encoding = TextFormat::Encoding;

struct RoundTrip {
    const char* name;
    std::string bytes;
    std::string utf8;      // what the editor shows
    Encoding encoding;
    bool crlf;
    bool bom;
    friend void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.name; }
};

class EditedUnchanged : public testing::TestWithParam<RoundTrip> {};

TEST_P(EditedUnchanged, DecodesForTheEditorAndEncodesBackToTheSameBytes) {
    const RoundTrip& c = GetParam();
    const DecodedText d = decodeForEditing(c.bytes);
    EXPECT_EQ(d.utf8, c.utf8);
    EXPECT_EQ(d.format.encoding, c.encoding);
    EXPECT_EQ(d.format.crlf, c.crlf);
    EXPECT_EQ(d.format.bom, c.bom);
    const EncodedText e = encodeForSaving(d.utf8, d.format);
    ASSERT_TRUE(e.bytes.has_value());
    EXPECT_EQ(*e.bytes, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, EditedUnchanged,
    testing::Values(
        RoundTrip{"ascii", "fact(\"a\")\nfact(\"b\")\n", "fact(\"a\")\nfact(\"b\")\n", Encoding::Utf8, false, false},
        RoundTrip{"empty", "", "", Encoding::Utf8, false, false},
        RoundTrip{"utf8", "fact(\"\xC5\xBC\xC3\xB3\xC5\x82w\")", "fact(\"\xC5\xBC\xC3\xB3\xC5\x82w\")", Encoding::Utf8,
                  false, false},
        RoundTrip{"utf8_bom_crlf", "\xEF\xBB\xBF" "a\r\nb\r\n", "a\nb\n", Encoding::Utf8, true, true},
        // "żółw" in the code page, line ends of the old system
        RoundTrip{"cp1250_crlf", "fact(\"\xBF\xF3\xB3w\")\r\nfact(\"x\")\r\n",
                  "fact(\"\xC5\xBC\xC3\xB3\xC5\x82w\")\nfact(\"x\")\n", Encoding::Cp1250, true, false},
        // bytes the code page leaves unassigned are kept, not replaced
        RoundTrip{"cp1250_unassigned", "a\x81\x98z", "a\xC2\x81\xC2\x98z", Encoding::Cp1250, false, false},
        // what looks like a mark is three letters of the code page
        RoundTrip{"cp1250_mark_letters", "\xEF\xBB\xBF\xB9", "\xC4\x8F\xC2\xBB\xC5\xBC\xC4\x85", Encoding::Cp1250,
                  false, false},
        RoundTrip{"lone_cr_kept", "a\rb\n", "a\rb\n", Encoding::Utf8, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeForSaving, GivesTypedLineEndsTheFilesOwn) {
    EXPECT_EQ(encodeForSaving("a\nb\r\nc", {Encoding::Utf8, true, false}).bytes, "a\r\nb\r\nc");
    EXPECT_EQ(encodeForSaving("a\r\nb\n", {Encoding::Utf8, false, false}).bytes, "a\nb\n");
}

TEST(EncodeForSaving, RefusesACharacterTheCodePageCannotHoldAndSaysWhere) {
    // "ж" (U+0436) in line 2, after "ab" and "ą"
    const EncodedText e = encodeForSaving("x\nab\xC4\x85\xD0\xB6y\n", {Encoding::Cp1250, false, false});
    EXPECT_FALSE(e.bytes.has_value());
    EXPECT_EQ(e.fault.character, "\xD0\xB6");
    EXPECT_EQ(codePointName(e.fault.codePoint), "U+0436");
    EXPECT_EQ(e.fault.line, 2);
    EXPECT_EQ(e.fault.column, 4);
    // The same text is no problem for a UTF-8 file.
    EXPECT_TRUE(encodeForSaving("x\nab\xC4\x85\xD0\xB6y\n", {}).bytes.has_value());
}

TEST(EncodeForSaving, RefusesBytesThatAreNotUtf8) {
    for (const char* bad : {"a\xFF", "a\xC0\xAF", "\xED\xA0\x80", "a\xE2\x82"}) {
        const EncodedText e = encodeForSaving(bad, {});
        EXPECT_FALSE(e.bytes.has_value()) << bad;
        EXPECT_TRUE(e.fault.character.empty());
    }
}

TEST(BaseKindOfFile, FollowsThePrefixInAnyCase) {
    EXPECT_EQ(baseKindOfFile("RUgarden.AEB"), BaseKind::Rule);
    EXPECT_EQ(baseKindOfFile("mogarden.aeb"), BaseKind::Model);
    EXPECT_EQ(baseKindOfFile("Co1.AEB"), BaseKind::Constraint);
    EXPECT_EQ(baseKindOfFile("ADx.AEB"), BaseKind::Advice);
    EXPECT_EQ(baseKindOfFile("GRx.AEB"), BaseKind::Graphics);
    EXPECT_EQ(baseKindOfFile("SOx.AEB"), BaseKind::Sound);
    EXPECT_EQ(baseKindOfFile("garden.abs"), std::nullopt);
    EXPECT_EQ(baseKindOfFile("RUgarden.txt"), std::nullopt);
    EXPECT_EQ(baseKindOfFile("advice.hlp"), std::nullopt);
}

}  // namespace
}  // namespace torv::kb
