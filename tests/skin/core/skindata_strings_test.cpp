// Interface strings: the built-in table and the lookup by key.
#include "skin/core/bsSkinData.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinDataStrings, BuiltInTable)
{
    TbsResourceStrData Data(nullptr);
    TStrings* S = Data.ResStrings();
    ASSERT_EQ(S->Count(), 131);
    EXPECT_EQ(S->Strings(0), "MI_MINCAPTION=Mi&nimize");
    EXPECT_EQ(S->Strings(12), "RESTORE_HINT=Restore");
    EXPECT_EQ(S->Strings(130), "DBNAV_REFRESH=REFRESH");
    EXPECT_EQ(Data.CharSet(), DEFAULT_CHARSET);
    for (int i = 0; i < S->Count(); ++i) {
        String Key = S->Names(i);
        EXPECT_FALSE(Key.empty()) << i;
        EXPECT_EQ(S->IndexOfName(Key), i) << "key twice: " << Key;
    }
}

TEST(SkinDataStrings, Lookup)
{
    TbsResourceStrData Data(nullptr);
    struct {
        const char* Key;
        const char* Text;
    } Cases[] = {
        {"msg_btn_ok", "OK"},          {"MSG_BTN_OK", "OK"},       {"FLV_LOOKIN", "Look in: "},
        {"FIND_REPLACE_All", "Replace All"}, {"CLOSEBUTTON_HINT", "Close"}, {"NO_SUCH_KEY", ""},
        {"", ""},
    };
    for (const auto& C : Cases) EXPECT_EQ(Data.GetResStr(C.Key), C.Text) << C.Key;
}

TEST(SkinDataStrings, ReplacedTable)
{
    TbsResourceStrData Data(nullptr);
    TStringList L;
    L.Add("A=x=y");
    L.Add("B=first");
    L.Add("b=second");
    L.Add("plain line");
    Data.SetResStrings(&L);
    EXPECT_EQ(Data.ResStrings()->Count(), 4);
    EXPECT_EQ(Data.GetResStr("A"), "x=y");
    EXPECT_EQ(Data.GetResStr("B"), "first");
    EXPECT_EQ(Data.GetResStr("MSG_BTN_OK"), "");
    // The table holds a copy.
    L.Clear();
    EXPECT_EQ(Data.GetResStr("A"), "x=y");
}

} // namespace
