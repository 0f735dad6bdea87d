// TStringList behaviours: sorting, duplicates, name/value access, texts, loading.
#include "platform/system/Classes.h"

#include <gtest/gtest.h>
#include "test_files.h"

namespace {

String Joined(const TStrings& L)
{
    String r;
    for (int i = 0; i < L.Count(); ++i) r += (i ? "|" : "") + L[i];
    return r;
}

TEST(StringList, SortedListKeepsOrderAndHandlesDuplicates)
{
    struct Case {
        TDuplicates Dup;
        const char* Expected;
    };
    for (const Case& c : {Case{dupIgnore, "a|B|c"}, Case{dupAccept, "a|b|B|c"}}) {
        TStringList l;
        l.SetDuplicates(c.Dup);
        l.SetSorted(true);
        for (const char* s : {"c", "a", "B", "b"}) l.Add(s);
        EXPECT_EQ(c.Expected, Joined(l));
        EXPECT_GE(l.IndexOf("C"), 0);
    }
    TStringList strict;
    strict.SetSorted(true);
    strict.SetDuplicates(dupError);
    strict.Add("x");
    EXPECT_THROW(strict.Add("X"), EStringListError);
    EXPECT_THROW(strict.Insert(0, "y"), EStringListError);
    EXPECT_THROW(strict.SetStrings(0, "y"), EStringListError);

    TStringList cs;
    cs.SetCaseSensitive(true);
    cs.SetSorted(true);
    cs.Add("b");
    cs.Add("B");
    EXPECT_EQ(2, cs.Count());
    EXPECT_EQ(-1, cs.IndexOf("a"));
}

TEST(StringList, IndexErrorsNameTheIndex)
{
    TStringList l;
    l.Add("one");
    for (int bad : {-1, 1, 7}) {
        try {
            l.Strings(bad);
            ADD_FAILURE();
        } catch (const EListError& e) {
            EXPECT_EQ(Format("List index out of bounds (%d)", bad), e.Message());
        }
    }
    EXPECT_THROW(l.Delete(1), EListError);
    EXPECT_THROW(l.Insert(2, "x"), EListError);
}

TEST(StringList, NamesAndValuesIgnoreCase)
{
    TStringList l;
    l.SetText("Width=320\nheight=240\nnoequals\n=empty\n");
    EXPECT_EQ("320", l.Values("WIDTH"));
    EXPECT_EQ(1, l.IndexOfName("HEIGHT"));
    EXPECT_EQ("", l.Values("missing"));
    EXPECT_EQ("", l.Names(2));
    EXPECT_EQ("240", l.ValueFromIndex(1));
    l.SetValues("HEIGHT", "480");
    EXPECT_EQ("HEIGHT=480", l[1]);  // written with the name as given
    l.SetValues("depth", "32");
    EXPECT_EQ("depth=32", l[l.Count() - 1]);
    l.SetValues("width", "");
    EXPECT_EQ(-1, l.IndexOfName("width"));
    EXPECT_EQ(0, l.IndexOf("HEIGHT=480"));
}

TEST(StringList, TextSplitsAnyLineEndAndJoinsWithCrLf)
{
    TStringList l;
    l.SetText("a\r\nb\nc\rd\r\n\r\ne");
    EXPECT_EQ("a|b|c|d||e", Joined(l));
    EXPECT_EQ("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n", l.Text());
    l.SetText("");
    EXPECT_EQ(0, l.Count());
    l.SetText("only");
    EXPECT_EQ(1, l.Count());
    l.SetLineBreak("\n");
    EXPECT_EQ("only\n", l.Text());
}

TEST(StringList, CommaTextQuotesWhereNeeded)
{
    struct Case {
        const char* Text;
        const char* Items;
    };
    const Case cases[] = {
        {"a,b,c", "a|b|c"},
        {"\"a b\",c", "a b|c"},
        {"a b", "a|b"},
        {"\"say \"\"hi\"\"\",x", "say \"hi\"|x"},
        {"a,,b", "a||b"},
        {"a,", "a|"},
        {"  a , b  ", "a|b"},
        {"\"unterminated", "unterminated"},
        {"\"a\"b,c", "ab|c"},
        {",", "|"},
        {"\"", ""},
    };
    for (const Case& c : cases) {
        TStringList l;
        l.SetCommaText(c.Text);
        EXPECT_EQ(c.Items, Joined(l)) << c.Text;
    }
    TStringList l;
    for (const char* s : {"plain", "two words", "q\"uote", "", "c,omma"}) l.Add(s);
    EXPECT_EQ("plain,\"two words\",\"q\"\"uote\",\"\",\"c,omma\"", l.CommaText());
    TStringList back;
    back.SetCommaText(l.CommaText());
    EXPECT_TRUE(back.Equals(&l));
}

TEST(StringList, ObjectsTravelWithTheirStrings)
{
    TStringList l;
    TObject a, b;
    l.AddObject("b", &b);
    l.AddObject("a", &a);
    l.Sort();
    EXPECT_EQ(&a, l.Objects(0));
    EXPECT_EQ(1, l.IndexOfObject(&b));
    l.Exchange(0, 1);
    EXPECT_EQ(&b, l.Objects(0));
    TStringList copy;
    copy.Assign(&l);
    EXPECT_EQ(&a, copy.Objects(1));

    TStringList owning(true);
    owning.AddObject("x", new TStringList);
    owning.Delete(0);  // deletes the object (checked by the leak checker of sanitizer builds)
    EXPECT_EQ(0, owning.Count());
}

TEST(StringList, ChangeEventsFireOncePerUpdate)
{
    TStringList l;
    int changes = 0, changing = 0;
    l.OnChange = [&](TObject*) { ++changes; };
    l.OnChanging = [&](TObject*) { ++changing; };
    l.Add("a");
    EXPECT_EQ(1, changes);
    l.BeginUpdate();
    l.Add("b");
    l.Add("c");
    l.Delete(0);
    l.EndUpdate();
    EXPECT_EQ(2, changes);
    EXPECT_EQ(2, changing);
    l.SetText("x\ny");
    EXPECT_EQ(3, changes);
}

TEST(StringList, LoadingDetectsTheByteOrderMark)
{
    struct Case {
        String Bytes;
        const char* Items;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF" "a=1\r\n中\r\n", "a=1|中"},
        {String("\xFF\xFE" "a\0=\0" "1\0\n\0" "-N\n\0", 14), "a=1|中"},
        {String("\xFE\xFF" "\0a\0=\0" "1\0\n" "N-\0\n", 14), "a=1|中"},
        {"plain\nutf8 中\n", "plain|utf8 中"},
        {"", ""},
    };
    for (const Case& c : cases) {
        TStringStream s(c.Bytes);
        TStringList l;
        l.LoadFromStream(&s);
        EXPECT_EQ(c.Items, Joined(l));
    }
}

TEST(StringList, SaveAndLoadFileRoundTrip)
{
    const vctest::TScratch dir("sl_roundtrip_");
    String name = dir.Path + "/sl_roundtrip.txt";
    TStringList l;
    l.Add("第一行");
    l.Add("second");
    l.SaveToFile(name);
    TStringList back;
    back.LoadFromFile(name);
    EXPECT_TRUE(back.Equals(&l));
    EXPECT_THROW(back.LoadFromFile(name + ".missing"), EFOpenError);
}

TEST(StringList, MoveInsertAndAddStrings)
{
    TStringList l;
    l.SetCommaText("a,b,c,d");
    l.Move(0, 3);
    EXPECT_EQ("b|c|d|a", Joined(l));
    l.Insert(1, "x");
    EXPECT_EQ("b|x|c|d|a", Joined(l));
    TStringList m;
    m.Add("z");
    m.AddStrings(&l);
    EXPECT_EQ(6, m.Count());
    l.Clear();
    EXPECT_EQ(0, l.Count());
}

}  // namespace
