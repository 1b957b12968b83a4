#include <gtest/gtest.h>

#include <string>

#include "common/memory.h"
#include "common/text.h"

static std::wstring repeat(wchar_t unit, size_t count) {
    return std::wstring(count, unit);
}

TEST(TextCopy, FitsOnlyWithItsTerminator) {
    static wchar_t buffer[PATH_CAPACITY];
    std::wstring fits = repeat(L'a', 4095);
    ASSERT_TRUE(text_copy(buffer, PATH_CAPACITY, fits.c_str()));
    EXPECT_EQ(fits, buffer);

    std::wstring too_long = repeat(L'b', 4096);
    EXPECT_FALSE(text_copy(buffer, PATH_CAPACITY, too_long.c_str()));
    EXPECT_EQ(0, buffer[0]) << "a failed copy leaves the destination empty";

    EXPECT_TRUE(text_copy(buffer, 1, L""));
    EXPECT_FALSE(text_copy(buffer, 1, L"x"));
    EXPECT_FALSE(text_copy(buffer, 0, L"")) << "no room even for the terminator";
}

TEST(TextAppend, AllOrNothingAtTheCapacity) {
    struct Case {
        const wchar_t* start;
        const wchar_t* add;
        uint32_t capacity;
        bool fits;
        const wchar_t* after;
    };
    const Case cases[] = {
        {L"abc", L"de", 6, true, L"abcde"}, {L"abc", L"def", 6, false, L"abc"},  // length sum equals the capacity
        {L"", L"", 1, true, L""},           {L"", L"a", 1, false, L""},
        {L"abc", L"", 4, true, L"abc"},     {L"zażółć", L" gęślą", 13, true, L"zażółć gęślą"},
    };
    for (const Case& c : cases) {
        wchar_t buffer[32];
        text_copy(buffer, 32, c.start);
        EXPECT_EQ(c.fits, text_append(buffer, c.capacity, c.add)) << c.start << L" + " << c.add;
        EXPECT_STREQ(c.after, buffer);
    }
}

TEST(TextLengthAndDuplicate, CountUnitsAndCopyToTheHeap) {
    EXPECT_EQ(0u, text_length(L""));
    EXPECT_EQ(6u, text_length(L"Łódź.7"));
    EXPECT_EQ(2u, text_length(L"\U0001F600")) << "a surrogate pair is two units";
    wchar_t* copy = text_duplicate(L"kopia ąę");
    ASSERT_NE(nullptr, copy);
    EXPECT_STREQ(L"kopia ąę", copy);
    mem_free(copy);
    copy = text_duplicate(L"");
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(0, copy[0]);
    mem_free(copy);
}

TEST(TextEqualNocase, OrdinalCaseFoldingWithoutLocale) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool equal;
    };
    const Case cases[] = {
        {L"Photos", L"photos", true},
        {L"ŁÓDŹ", L"łódź", true},
        {L"ĄĘ.ZIP", L"ąę.zip", true},
        {L"--PROFILE", L"--profile", true},
        {L"a", L"a ", false},
        {L"", L"", true},
        {L"straße", L"STRASSE", false},  // simple folding only
        {L"ı", L"I", false},             // no Turkish rules
    };
    for (const Case& c : cases) EXPECT_EQ(c.equal, text_equal_nocase(c.a, c.b)) << c.a << L" / " << c.b;
}

TEST(FormatDecimal, ExtremesAndPlainDigits) {
    struct Case {
        uint64_t value;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L"0"},
        {7, L"7"},
        {10, L"10"},
        {4294967296ull, L"4294967296"},
        {18446744073709551615ull, L"18446744073709551615"},
    };
    for (const Case& c : cases) {
        wchar_t buffer[DECIMAL_CAPACITY + 1];
        buffer[DECIMAL_CAPACITY] = 0x1234;  // a guard past the promised size
        format_decimal(buffer, c.value);
        EXPECT_STREQ(c.text, buffer);
        EXPECT_EQ(0x1234, buffer[DECIMAL_CAPACITY]);
    }
}
