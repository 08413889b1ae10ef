// The profile file's text: reading as the Windows profile functions read, and writing in
// place so that every other byte stays.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "profile_format.h"

namespace {

using namespace std::string_view_literals;

constexpr int32_t kDefaultValue = -7;
constexpr uint32_t kDefault = static_cast<uint32_t>(kDefaultValue);

struct ReadCase {
    std::string_view text;
    uint32_t expected;
};

// Each value as it stands after "k=" in section Rotorstrike; the answers are those of
// GetPrivateProfileIntA under Wine, for the same files.
TEST(ProfileRead, IntegersReadAsTheWindowsFunctionReadsThem) {
    const ReadCase cases[] = {
        {""sv, kDefault},
        {"5"sv, 5u},
        {"\"5\""sv, 5u},
        {"'5'"sv, 5u},
        {"\"5"sv, 0u},
        {"'5\""sv, 0u},
        {"\"\""sv, kDefault},
        {"\""sv, 0u},
        {"\" 5 \""sv, 5u},
        {" 5"sv, 5u},
        {"+5"sv, 5u},
        {"-5"sv, 4294967291u},
        {"- 5"sv, 0u},
        {"--5"sv, 0u},
        {"+-5"sv, 0u},
        {"0x10"sv, 16u},
        {"0b101"sv, 5u},
        {"0o17"sv, 15u},
        {"017"sv, 17u},
        {"0X1f"sv, 0u},
        {"-0x10"sv, 4294967280u},
        {"0xFF"sv, 255u},
        {"0xff"sv, 255u},
        {"0x"sv, 0u},
        {"0b2"sv, 0u},
        {"0o8"sv, 0u},
        {"08"sv, 8u},
        {"12abc"sv, 12u},
        {"1 2"sv, 1u},
        {"abc"sv, 0u},
        {"-1"sv, 4294967295u},
        {"4294967296"sv, 0u},
        {"9999999999"sv, 1410065407u},
        {"4294967295"sv, 4294967295u},
        {"-2147483648"sv, 2147483648u},
        {"2147483648"sv, 2147483648u},
        {"000000000000000000000000000000000000003"sv, 0u},
        {"0000000000000000000000000003"sv, 3u},
        {"00000000000000000000000000003"sv, 3u},
        {"000000000000000000000000000003"sv, 0u},
        {"\t5"sv, 5u},
        {"\"\t5\""sv, 5u},
        {"\"\0015\""sv, 5u},
        {"5\0009"sv, 5u},
        {"\0325"sv, 5u},
        {"\"-0x10\""sv, 4294967280u},
        {"0x1g"sv, 1u},
        {"1e3"sv, 1u},
        {"\2405"sv, 0u},
        {"\"00000000000000000000000000003\""sv, 0u},
        {"\"0000000000000000000000000003\""sv, 3u},
        {"0B101"sv, 0u},
        {"0O17"sv, 0u},
        {"+0x10"sv, 16u},
        {"-0b1"sv, 4294967295u},
        {"0x-5"sv, 0u},
        {"\0015"sv, 5u},
        {"'5"sv, 0u},
        {"5'"sv, 5u},
        {"'  '"sv, 0u},
        {"\"\"5\""sv, 0u},
        {"0xFFFFFFFFF"sv, 4294967295u},
        {"\1775"sv, 0u},
        {"\"5\"x"sv, 0u},
        {"08x"sv, 8u},
        {"0"sv, 0u},
        {"\001\"5\""sv, 0u},
        {"\"5\"\001"sv, 0u},
        {"\032\"5\""sv, 5u},
        {"\013\"5\""sv, 5u},
        {"5\303\251"sv, 5u},
        {"\177\"5\""sv, 0u},
    };
    for (const ReadCase& c : cases) {
        const std::string file = "[Rotorstrike]\r\nk=" + std::string(c.text) + "\r\n";
        EXPECT_EQ(profile::readInt(file, "Rotorstrike", "k", kDefaultValue), c.expected) << testing::PrintToString(c.text);
    }
}

// Whole files: names, spacing, sections, line ends, NUL bytes, byte-order marks. The
// answers are Wine's for the same files.
TEST(ProfileRead, FilesReadAsTheWindowsFunctionReadsThem) {
    const ReadCase cases[] = {
        {"[ Rotorstrike ]\r\nk=1"sv, 1u},
        {"[rotorstrike]\nK=2\n"sv, 2u},
        {"[Rotorstrike]\rk=3\r"sv, 3u},
        {"[Rotorstrike]\r\nk=1\r\nk=2\r\n"sv, 1u},
        {"[Rotorstrike]\r\nx=1\r\n[Rotorstrike]\r\nk=2\r\n"sv, kDefault},
        {"[Rotorstrike] ; c\r\nk=4"sv, 4u},
        {"[Rotorstrike]x\r\nk=4"sv, 4u},
        {"\357\273\277[Rotorstrike]\r\nk=5"sv, 5u},
        {"  [Rotorstrike]  \r\n  k  =  6  \r\n"sv, 6u},
        {"\t[Rotorstrike]\t\r\n\tk\t=\t7\t\r\n"sv, 7u},
        {"[Rotorstrike\r\nk=8"sv, kDefault},
        {"[Rotorstrike]\r\n;k=9\r\nk=10"sv, 10u},
        {"[Rotorstrike]\r\nk\000junk=11"sv, 11u},
        {"[Rotorstrike\000x]\r\nk=12"sv, 12u},
        {"k=13\r\n[Rotorstrike]\r\n"sv, kDefault},
        {"[Rotorstrike]\r\n[Other]\r\nk=14"sv, kDefault},
        {"[Rotorstrike]\r\nk\r\n"sv, kDefault},
        {"[Rotorstrike]\r\nk=\r\n"sv, kDefault},
        {"[Rotorstrike]\r\n k = \"\" \r\n"sv, kDefault},
        {"[[Rotorstrike]]\r\nk=15"sv, kDefault},
        {"[Rotorstrike]]\r\nk=16"sv, kDefault},
        {"[Rotorstrike]\r\nk==17"sv, 0u},
        {"[Rotorstrike]\r\n\032k=18"sv, 18u},
        {"\r\n\r\n[Rotorstrike]\r\n\r\nk=19\r\n\r\n"sv, 19u},
        {"[Rotorstrike]\r\nk=20\032"sv, 20u},
        {"[Rotorstrike]\r\n\013k\014=\01321\014"sv, 21u},
        {"[Rotorstrike]\n\rk=22"sv, 22u},
        {"[Rotorstrike]\r\r\nk=23"sv, 23u},
        {"[Rotorstrike]\r\nk=24\000\r\nk=25"sv, 24u},
        {"[Rotorstrike]\000\r\nk=26"sv, 26u},
        {"[ Rotor strike ]\r\nk=27"sv, kDefault},
        {"[Rotorstrike]\r\n\240k=28"sv, kDefault},
        {"[Rotorstrike]\r\nk\240=29"sv, kDefault},
        {"[Rotorstrike]\r\nk=30\r\n[Other]\r\nk=31\r\n[ROTORSTRIKE]\r\nk=32"sv, 30u},
        {"[Rotorstrike]\r\n=33\r\nk=34"sv, 34u},
        {"x[Rotorstrike]\r\nk=35"sv, kDefault},
        {"[Rotorstrike]\r\n[k=36"sv, kDefault},
        {"[Rotorstrike]\r\nk = 37 ; note"sv, 37u},
        {"[Rotorstrike]\r\nk=\"38\" "sv, 38u},
        {"[]\r\nk=39\r\n[Rotorstrike]\r\nk=40"sv, 40u},
        {"[Rotorstrike]\r\n  ; k=41\r\n"sv, kDefault},
        {"[Rotorstrike]\r\n[k]=42"sv, kDefault},
        {"\001[Rotorstrike]\r\nk=1"sv, kDefault},
        {"[Rotorstrike]\r\n\001k=2"sv, kDefault},
        {"[Rotorstrike]\r\nk\032=3"sv, 3u},
        {"[\032Rotorstrike\032]\r\nk=4"sv, 4u},
        {"\377\376[\000R\000o\000t\000o\000r\000s\000t\000r\000i\000k\000e\000]\000\r\000\n\000k\000=\0005\000\r\000\n\000"sv, 5u},
        {"[\000R\000o\000t\000o\000r\000s\000t\000r\000i\000k\000e\000]\000\r\000\n\000k\000=\0006\000\r\000\n\000"sv, kDefault},
        {"[\tRotorstrike\t]\r\nk=7"sv, 7u},
        {"[Rotorstrike]\r\nk\001=8"sv, kDefault},
        {"[Rotorstrike]\001\r\nk=9"sv, 9u},
        {"[Rotorstrike]\r\n\037k=10"sv, kDefault},
        {"\357\273\277\357\273\277[Rotorstrike]\r\nk=11"sv, kDefault},
        {" \357\273\277[Rotorstrike]\r\nk=12"sv, kDefault},
        {"\376\377\000[\000R\000o\000t\000o\000r\000s\000t\000r\000i\000k\000e\000]\000\r\000\n\000k\000=\0001\0003\000\r\000\n"sv, 13u},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(profile::readInt(c.text, "Rotorstrike", "k", kDefaultValue), c.expected) << testing::PrintToString(c.text);
    }
}

// Text as GetPrivateProfileStringA leaves it in a buffer (its size with the closing NUL),
// with the default "DEF": Wine's answers for the same files.
TEST(ProfileRead, TextReadsAsTheWindowsFunctionReadsIt) {
    const struct {
        std::string_view file;
        std::size_t bufferSize;
        std::string_view expected;
    } cases[] = {
        {"[S]\r\nk=  f10 ; mine\t\v\r\n"sv, 32, "f10 ; mine"sv},
        {"[S]\r\nk=\"F10\"\r\n"sv, 32, "F10"sv},
        {"[S]\r\nk=' F10 '\r\n"sv, 32, " F10 "sv},
        {"[S]\r\nk=\"F10'\r\n"sv, 32, "\"F10'"sv},
        {"[S]\r\nk=\"\r\n"sv, 32, "\""sv},
        {"[S]\r\nk=\"\"\r\n"sv, 32, ""sv},
        {"[S]\r\nk=\r\n"sv, 32, ""sv},
        {"[S]\r\nk\r\n"sv, 32, "DEF"sv},
        {"[S]\r\n"sv, 32, "DEF"sv},
        {"[S]\r\nk=\032F1\0000\r\n"sv, 32, "F1"sv},
        {"[S]\r\nk=\001F10\240\r\n"sv, 32, "\001F10\240"sv},
        // The quotes and the buffer: the closing quote goes only with what fits.
        {"[S]\r\nk=\"PAGEDOWN\"\r\n"sv, 11, "PAGEDOWN"sv},
        {"[S]\r\nk=\"PAGEDOWN\"\r\n"sv, 10, "PAGEDOWN"sv},
        {"[S]\r\nk=\"PAGEDOWN\"\r\n"sv, 9, "PAGEDOW"sv},
        {"[S]\r\nk=\"PAGEDOWN\"\r\n"sv, 8, "PAGEDOW"sv},
        {"[S]\r\nk=F10\r\n"sv, 3, "F1"sv},
        {"[S]\r\nk=F10\r\n"sv, 1, ""sv},
        {"[S]\r\nk=F10\r\n"sv, 0, ""sv},
        {"[S]\r\n"sv, 3, "DE"sv},
        // UTF-8 and UTF-16 come back in Windows-1252, '?' for what it lacks.
        {"\357\273\277[S]\r\nk=caf\303\251 \342\202\254 \344\270\255 \360\237\230\200\r\n"sv, 32,
         "caf\351 \200 ? ??"sv},
        {"\357\273\277[S]\r\nk=\355\240\200,\340\200\200,\364\220\200\200,\342\202A,\300\257."sv, 32,
         "??,??,???,?A,??."sv},
        {"\357\273\277[S]\r\nk=\342A"sv, 32, "?"sv},
        {"\377\376[\000S\000]\000\n\000k\000=\000\351\000\254 \201\000\000\330A\000"sv, 32, "\351\200\201?A"sv},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(profile::readString(c.file, "S", "k", "DEF", c.bufferSize), c.expected)
            << testing::PrintToString(c.file) << " in " << c.bufferSize;
    }
    // The default loses its trailing spaces, all but a first one, and then its quotes.
    EXPECT_EQ(profile::readString("", "S", "k", "  \"x\"  ", 32), "  \"x\"");
    EXPECT_EQ(profile::readString("", "S", "k", "\" x \"  ", 32), " x ");
    EXPECT_EQ(profile::readString("", "S", "k", "x\t ", 32), "x\t");
    EXPECT_EQ(profile::readString("", "S", "k", "  ", 32), " ");
}

std::string utf16(std::string_view ascii, bool littleEndian) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char c : ascii) {
        bytes.push_back(littleEndian ? c : '\0');
        bytes.push_back(littleEndian ? '\0' : c);
    }
    return bytes;
}

TEST(ProfileWrite, RewritesInPlaceAndKeepsEveryOtherByte) {
    const struct {
        const char* what;
        std::string before;
        std::string after;
    } cases[] = {
        {"a missing file", "", "[Rotorstrike]\r\nk=5\r\n"},
        {"a file of a byte-order mark", "\xEF\xBB\xBF", "\xEF\xBB\xBF[Rotorstrike]\r\nk=5\r\n"},
        {"a file without a final line end", "[Other]\na=1", "[Other]\na=1\r\n[Rotorstrike]\r\nk=5\r\n"},
        {"a file with one", "[Other]\na=1\n", "[Other]\na=1\n[Rotorstrike]\r\nk=5\r\n"},
        {"keys before any section stay outside", "k=1\r\n", "k=1\r\n[Rotorstrike]\r\nk=5\r\n"},
        {"the key keeps its spelling, indent and line end", "; top\n[rotorstrike]\n  K = 3 ; old\nz=1\n",
         "; top\n[rotorstrike]\n  K=5\nz=1\n"},
        // A comment is a line of its section: the new key follows it, as Wine places it.
        {"a new key follows the last line that is not blank",
         "[Rotorstrike]\r\na=1\r\n\r\n; end\r\n\r\n[Other]\r\nk=9\r\n",
         "[Rotorstrike]\r\na=1\r\n\r\n; end\r\nk=5\r\n\r\n[Other]\r\nk=9\r\n"},
        {"in a section of comments too", "[Rotorstrike]\r\n; note\r\n", "[Rotorstrike]\r\n; note\r\nk=5\r\n"},
        {"or the header, in an empty section", "[Rotorstrike]\r\n\r\n[Other]\r\n",
         "[Rotorstrike]\r\nk=5\r\n\r\n[Other]\r\n"},
        {"a header as the unended last line", "[Rotorstrike]", "[Rotorstrike]\r\nk=5\r\n"},
        {"a key as the unended last line", "[Rotorstrike]\na=1", "[Rotorstrike]\na=1\r\nk=5\r\n"},
        {"only the first section counts", "[Rotorstrike]\r\na=1\r\n[ROTORSTRIKE]\r\nk=2\r\n",
         "[Rotorstrike]\r\na=1\r\nk=5\r\n[ROTORSTRIKE]\r\nk=2\r\n"},
        {"only the first key counts", "[Rotorstrike]\r\nk=1\r\nk=2\r\n", "[Rotorstrike]\r\nk=5\r\nk=2\r\n"},
        {"CR line ends", "[Rotorstrike]\rk=1\ra=2\r", "[Rotorstrike]\rk=5\ra=2\r"},
        {"the same value leaves the line alone", "[Rotorstrike]\r\n k = 5 \r\n", "[Rotorstrike]\r\n k = 5 \r\n"},
        {"a quoted value is rewritten", "[Rotorstrike]\r\nk=\"5\"\r\n", "[Rotorstrike]\r\nk=5\r\n"},
        {"a key without a value", "[Rotorstrike]\r\nk\r\n", "[Rotorstrike]\r\nk=5\r\n"},
        {"UTF-16, little-endian", utf16("[Rotorstrike]\r\nk=1\r\n", true), utf16("[Rotorstrike]\r\nk=5\r\n", true)},
        {"UTF-16, big-endian", utf16("[Rotorstrike]\r\n", false), utf16("[Rotorstrike]\r\nk=5\r\n", false)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const profile::Edit edit = profile::writeString(c.before, "Rotorstrike", "k", "5");
        ASSERT_TRUE(edit.ok) << edit.error;
        EXPECT_EQ(edit.changed, c.before != c.after);
        const std::string after = edit.changed ? edit.bytes : c.before;
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(profile::readInt(after, "Rotorstrike", "k", kDefaultValue), 5u);
    }
}

// The lines before the first section header form a section named "", as Wine reads and
// writes them; a later "[]" header is a second section of that name, never reached.
TEST(ProfileSections, TheLinesBeforeTheFirstHeaderAreTheSectionNamedEmpty) {
    EXPECT_EQ(profile::readInt("k=1\r\n[Rotorstrike]\r\nk=2\r\n", "", "k", kDefaultValue), 1u);
    EXPECT_EQ(profile::readInt("k=1\r\n[Rotorstrike]\r\nk=2\r\n", " ", "K", kDefaultValue), 1u);
    EXPECT_EQ(profile::readInt("[Rotorstrike]\r\nk=2\r\n", "", "k", kDefaultValue), kDefault);
    EXPECT_EQ(profile::readInt("[]\r\nk=3\r\n", "", "k", kDefaultValue), kDefault);
    EXPECT_EQ(profile::readInt("\xEF\xBB\xBFk=4\r\n", "", "k", kDefaultValue), 4u);
    EXPECT_EQ(profile::readInt(utf16("k=5\r\n[S]\r\n", true), "", "k", kDefaultValue), 5u);

    const struct {
        const char* what;
        std::string before;
        std::string after;
    } cases[] = {
        {"a missing file", "", "k=5\r\n"},
        {"at the top, before the first header", "[Rotorstrike]\r\nk=1\r\n", "k=5\r\n[Rotorstrike]\r\nk=1\r\n"},
        {"after the lines already there", "a=1\r\n[S]\r\n", "a=1\r\nk=5\r\n[S]\r\n"},
        {"in place", "; top\nk=1\n[S]\nk=2\n", "; top\nk=5\n[S]\nk=2\n"},
        {"not under a [] header", "[]\r\nk=1\r\n", "k=5\r\n[]\r\nk=1\r\n"},
        {"after a byte-order mark", "\xEF\xBB\xBF[S]\r\n", "\xEF\xBB\xBFk=5\r\n[S]\r\n"},
        {"UTF-16", utf16("[S]\r\n", true), utf16("k=5\r\n[S]\r\n", true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const profile::Edit edit = profile::writeString(c.before, "", "k", "5");
        ASSERT_TRUE(edit.ok) << edit.error;
        EXPECT_EQ(edit.bytes, c.after);
    }
}

// Blanks around a written name or value mean nothing to a read: they are not written.
TEST(ProfileWrite, WritesNamesAndValuesWithoutTheBlanksAroundThem) {
    const struct {
        std::string_view before, section, key, value;
        std::string after;
    } cases[] = {
        {"", " Rotorstrike\t", " k ", " 5 ", "[Rotorstrike]\r\nk=5\r\n"},
        {"[Rotorstrike]\r\nk=1\r\n", "Rotorstrike", "k", "\t5\x1a", "[Rotorstrike]\r\nk=5\r\n"},
        {"[Rotorstrike]\r\n", "Rotorstrike", "k", "two words ", "[Rotorstrike]\r\nk=two words\r\n"},
        {"[Rotorstrike]\r\n", "Rotorstrike", "k", "  ", "[Rotorstrike]\r\nk=\r\n"},
    };
    for (const auto& c : cases) {
        const profile::Edit edit = profile::writeString(c.before, c.section, c.key, c.value);
        ASSERT_TRUE(edit.ok) << edit.error;
        EXPECT_EQ(edit.bytes, c.after) << testing::PrintToString(c.value);
    }
    // The same value with blanks around it is already there.
    EXPECT_FALSE(profile::writeString("[Rotorstrike]\r\nk=5\r\n", "Rotorstrike", "k", " 5 ").changed);
}

TEST(ProfileWrite, RefusesTextALineCannotHold) {
    const struct {
        std::string_view file;
        std::string_view section;
        std::string_view key;
        std::string_view value;
    } cases[] = {
        {"", "a]b", "k", "1"},   {"", "a\nb", "k", "1"}, {"", "s", "", "1"},  {"", "s", "  ", "1"},
        {"", "s", "a=b", "1"},   {"", "s", "a\rb", "1"}, {"", "s", "k", "1\n2"},
        {"\xFF\xFE", "s", "k", "\xC3\xA9"},
    };
    for (const auto& c : cases) {
        const profile::Edit edit = profile::writeString(c.file, c.section, c.key, c.value);
        EXPECT_FALSE(edit.ok) << c.section << " " << c.key << " " << c.value;
        EXPECT_FALSE(edit.error.empty());
    }
}

}  // namespace

// What a file means, as the soak and the settings comparison judge a rewrite of the whole
// file: entries trimmed, a NUL ending a name or a value, blank lines and line ends gone.
TEST(ProfileMeaning, EntriesAsTheyRead) {
    const struct {
        std::string_view text;
        std::vector<std::string> meaning;
    } cases[] = {
        {"[ Rotorstrike ] x\r\n armor = 2 \n\r\n; note\rjunk\n"sv, {"[Rotorstrike]", "armor=2", "; note", "junk"}},
        {"a\0b=c\0d\r\nx\0y\r\n[s\0t]\n"sv, {"a=c", "x", "[s]"}},
        {"\r\n\n"sv, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(profile::meaningOf(c.text), c.meaning) << c.text;
}
