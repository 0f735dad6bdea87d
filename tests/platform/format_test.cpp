// Format, number conversions and string helpers.
#include "platform/system/SysUtils.h"

#include <gtest/gtest.h>

namespace {

struct FormatCase {
    const char* Expected;
    String Actual;
};

TEST(Format, LettersAsTheSystemUsesThem)
{
    int x = 0;
    const FormatCase cases[] = {
        {"42", Format("%d", 42)},
        {"-7", Format("%d", -7)},
        {"05", Format("%.2d", 5)},
        {"-005", Format("%.3d", -5)},
        {"  42", Format("%4d", 42)},
        {"42  |", Format("%-4d|", 42)},
        {"FF", Format("%x", 255)},
        {"FFFFFFFF", Format("%x", -1)},
        {"00FF", Format("%.4x", 255)},
        {"3.14", Format("%f", 3.14159)},
        {"3.142", Format("%.3f", 3.14159)},
        {"0.13", Format("%.2f", 0.125)},
        {"-0.13", Format("%.2f", -0.125)},
        {"2", Format("%.0f", 1.5)},
        {"0.00", Format("%.2f", -0.001)},
        {"1.5", Format("%g", 1.5)},
        {"1E20", Format("%g", 1e20)},
        {"0.0001", Format("%g", 0.0001)},
        {"1E-5", Format("%g", 0.00001)},
        {"1.23450000000000E+003", Format("%e", 1234.5)},
        {"1,234,567.89", Format("%n", 1234567.891)},
        {"abc", Format("%s", "abc")},
        {"abc             |", Format("%-16s|", String("abc"))},
        {"   ab", Format("%5.2s", "abcd")},
        {"中文  |", Format("%-4s|", "中文")},
        {"100%", Format("%d%%", 100)},
        {"12.500", Format("%0.3f", 12.5)},
        {"01:02:03.004", Format("%.2d:%.2d:%.2d.%.3d", 1, 2, 3, 4)},
        {"3.14", Format("%2.2f", 3.14159)},
        {"1.50 MB", Format("%.2f MB", 1572864 / 1048576.0)},
        {"x=5, PAR 1:1", Format("%s, PAR %d:%d", "x=5", 1, 1)},
        {"b a", Format("%1:s %0:s", "a", "b")},
        {"   7", Format("%*d", 4, 7)},
        {"Cannot add while working.", Format("Cannot %s while working.", "add")},
        {"0000000000000000", Format("%p", (void*)nullptr)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.Expected, c.Actual);
    EXPECT_EQ(16u, Format("%p", (void*)&x).size());
}

TEST(Format, BadSpecifiersRaiseConvertError)
{
    EXPECT_THROW(Format("%d", "text"), EConvertError);
    EXPECT_THROW(Format("%s", 5), EConvertError);
    EXPECT_THROW(Format("%d %d", 5), EConvertError);
    EXPECT_THROW(Format("%q", 5), EConvertError);
    EXPECT_THROW(Format("abc %", 5), EConvertError);
    EXPECT_THROW(Format("%5:d", 1), EConvertError);
}

TEST(Conversions, StrToIntAcceptsDecimalAndHex)
{
    EXPECT_EQ(123, StrToInt("123"));
    EXPECT_EQ(-5, StrToInt("-5"));
    EXPECT_EQ(255, StrToInt("$FF"));
    EXPECT_EQ(255, StrToInt("0xff"));
    EXPECT_EQ(-1, StrToInt("$FFFFFFFF"));
    EXPECT_EQ(12, StrToInt(" 12"));
    EXPECT_EQ(2147483647, StrToInt("2147483647"));
    EXPECT_EQ(int(-2147483647 - 1), StrToInt("-2147483648"));
    EXPECT_EQ(int64_t(1) << 40, StrToInt64("1099511627776"));
}

TEST(Conversions, BadIntegersRaiseWithTheirText)
{
    for (const char* bad : {"", "abc", "12 ", "1.5", "2147483648", "--1", "$", "0x", "$1FFFFFFFF"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "no error for '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(Format("'%s' is not a valid integer value", bad), e.Message());
        }
        EXPECT_EQ(-9, StrToIntDef(bad, -9));
    }
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(Conversions, FloatsUseDotWhateverTheLocale)
{
    EXPECT_DOUBLE_EQ(1.5, StrToFloat("1.5"));
    EXPECT_DOUBLE_EQ(-0.25, StrToFloat(" -0.25 "));
    EXPECT_DOUBLE_EQ(1000, StrToFloat("1e3"));
    for (const char* bad : {"", "1,5", "abc", "inf", "nan", "1.5x"}) EXPECT_THROW(StrToFloat(bad), EConvertError) << bad;
    EXPECT_EQ("0.1", FloatToStr(0.1));
    EXPECT_EQ("0.333333333333333", FloatToStr(1.0 / 3));
    EXPECT_EQ("100000000000000", FloatToStr(1e14));
    EXPECT_EQ("1E15", FloatToStr(1e15));
    EXPECT_EQ("1.5E-7", FloatToStr(1.5e-7));
    EXPECT_EQ("-2.5", FloatToStr(-2.5));
    EXPECT_EQ("0", FloatToStr(0.0));
    EXPECT_EQ("29.97", FloatToStr(29.97));
}

TEST(Strings, TrimCaseAndCompare)
{
    EXPECT_EQ("a b", Trim(" \t a b \r\n"));
    EXPECT_EQ("a b \n", TrimLeft(" a b \n"));
    EXPECT_EQ("ABC中", UpperCase("abc中"));
    EXPECT_EQ("abc", LowerCase("ABC"));
    EXPECT_TRUE(SameText("Options", "OPTIONS"));
    EXPECT_FALSE(SameText("Option", "Options"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_EQ(0, CompareText("abc", "ABC"));
    EXPECT_EQ("xbxb", StringReplace("abAb", "a", "x", {rfReplaceAll, rfIgnoreCase}));
    EXPECT_EQ("xbAb", StringReplace("abAb", "a", "x", {}));
}

}  // namespace
