// Ini files: a line-preserving document model shared by TMemIniFile and TIniFile.
#include "platform/system/IniFiles.h"

#include <cerrno>
#include <filesystem>
#include <mutex>
#include <unordered_map>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The text of an ini file as sections of lines.  Lines that are not keys (comments,
// blank lines, text without "=") are kept as they were; a changed key line is written
// as "key=value" with the key spelled as it was.
class TIniDocument {
public:
    struct TLine {
        String Raw;
        String Key;  // empty for lines that are not "key=value"
        String Value;
    };
    struct TSection {
        String Name;
        bool HasHeader = false;  // false only for the lines before the first header
        String HeaderRaw;
        std::vector<TLine> Lines;
    };

    std::vector<TSection> Sections;

    void Parse(std::string_view AText)
    {
        FIndexStale = true;
        Sections.clear();
        Sections.push_back(TSection{});
        if (AText.size() >= 3 && AText.substr(0, 3) == "\xEF\xBB\xBF") AText.remove_prefix(3);
        size_t i = 0, n = AText.size();
        while (i < n) {
            size_t e = AText.find_first_of("\r\n", i);
            if (e == std::string_view::npos) e = n;
            AddLine(String(AText.substr(i, e - i)));
            i = (e + 1 < n && AText[e] == '\r' && AText[e + 1] == '\n') ? e + 2 : e + 1;
        }
    }

    String Serialize() const
    {
        String out;
        for (const TSection& s : Sections) {
            if (s.HasHeader) out += s.HeaderRaw + "\n";
            for (const TLine& l : s.Lines) out += l.Raw + "\n";
        }
        return out;
    }

    // The first section of that name, through an index by name, so that a file of many
    // sections is not scanned on every read.
    TSection* FindSection(const String& AName)
    {
        if (FIndexStale) {
            FIndex.clear();
            for (size_t i = 0; i < Sections.size(); ++i)
                if (Sections[i].HasHeader) FIndex.emplace(UpperCase(Sections[i].Name), i);
            FIndexStale = false;
        }
        auto it = FIndex.find(UpperCase(AName));
        return it == FIndex.end() ? nullptr : &Sections[it->second];
    }

    static TLine* FindKey(TSection* ASection, const String& AKey)
    {
        if (!ASection) return nullptr;
        for (TLine& l : ASection->Lines)
            if (!l.Key.empty() && SameText(l.Key, AKey)) return &l;
        return nullptr;
    }

    TLine* Find(const String& ASection, const String& AKey) { return FindKey(FindSection(ASection), AKey); }

    void Write(const String& ASection, const String& AKey, const String& AValue)
    {
        CheckName(ASection, "section");
        CheckName(AKey, "key");
        if (AKey.find('=') != String::npos || Trim(AKey) != AKey || AKey[0] == '[' || AKey[0] == ';')
            throw EInvalidArgument("Invalid ini key \"%s\"", AKey);
        if (ASection.find(']') != String::npos || Trim(ASection) != ASection)
            throw EInvalidArgument("Invalid ini section \"%s\"", ASection);
        if (AValue.find_first_of("\r\n") != String::npos)
            throw EInvalidArgument("An ini value cannot hold a line break (key \"%s\")", AKey);
        TSection* s = FindSection(ASection);
        if (!s) {
            // A new section goes at the end, set off by an empty line before it and
            // followed by one.
            TSection& last = Sections.back();
            bool endsBlank = last.Lines.empty() ? !last.HasHeader : Trim(last.Lines.back().Raw).empty();
            if (!endsBlank) last.Lines.push_back(TLine{});
            Sections.push_back(TSection{ASection, true, "[" + ASection + "]", {TLine{}}});
            FIndexStale = true;
            s = &Sections.back();
        }
        if (TLine* l = FindKey(s, AKey)) {
            l->Value = AValue;
            l->Raw = l->Key + "=" + AValue;
            return;
        }
        // After the section's last non-blank line, so that a blank line before the next
        // section stays where it is.
        size_t pos = s->Lines.size();
        while (pos > 0 && Trim(s->Lines[pos - 1].Raw).empty()) --pos;
        s->Lines.insert(s->Lines.begin() + pos, TLine{AKey + "=" + AValue, AKey, AValue});
    }

    bool EraseSection(const String& AName)
    {
        bool any = false;
        for (size_t i = Sections.size(); i-- > 0;)
            if (Sections[i].HasHeader && SameText(Sections[i].Name, AName)) {
                Sections.erase(Sections.begin() + i);
                FIndexStale = true;
                any = true;
            }
        return any;
    }

    bool DeleteKey(const String& ASection, const String& AKey)
    {
        TSection* s = FindSection(ASection);
        if (!s) return false;
        bool any = false;
        for (size_t i = s->Lines.size(); i-- > 0;)
            if (!s->Lines[i].Key.empty() && SameText(s->Lines[i].Key, AKey)) {
                s->Lines.erase(s->Lines.begin() + i);
                any = true;
            }
        return any;
    }

private:
    std::unordered_map<String, size_t> FIndex;  // upper-case name -> first section of it
    bool FIndexStale = true;

    static void CheckName(const String& AName, const char* AWhat)
    {
        if (AName.empty()) throw EInvalidArgument("An ini %s name cannot be empty", AWhat);
        if (AName.find_first_of("\r\n") != String::npos)
            throw EInvalidArgument("An ini %s name cannot hold a line break", AWhat);
    }

    void AddLine(String ARaw)
    {
        String t = Trim(ARaw);
        if (!t.empty() && t[0] == '[') {
            size_t close = t.find(']');
            if (close != String::npos) {
                Sections.push_back(TSection{Trim(t.substr(1, close - 1)), true, ARaw, {}});
                return;
            }
        }
        TLine line{ARaw, String(), String()};
        if (!t.empty() && t[0] != ';') {
            size_t eq = t.find('=');
            if (eq != String::npos && eq > 0) {
                line.Key = Trim(t.substr(0, eq));
                line.Value = Trim(t.substr(eq + 1));
            }
        }
        Sections.back().Lines.push_back(std::move(line));
    }
};

// ---------------------------------------------------------------------------------
// Reading of shared kinds (the document and the list helpers)

static String DocRead(TIniDocument& ADoc, const String& ASection, const String& AIdent, const String& ADefault)
{
    TIniDocument::TLine* l = ADoc.Find(ASection, AIdent);
    return l ? l->Value : ADefault;
}

static void DocSection(TIniDocument& ADoc, const String& ASection, TStrings* AStrings, bool AValues)
{
    TStringsUpdate update(*AStrings);
    AStrings->Clear();
    if (TIniDocument::TSection* s = ADoc.FindSection(ASection))
        for (auto& l : s->Lines)
            if (!l.Key.empty()) AStrings->Add(AValues ? l.Key + "=" + l.Value : l.Key);
}

static void DocSections(TIniDocument& ADoc, TStrings* AStrings)
{
    TStringsUpdate update(*AStrings);
    AStrings->Clear();
    std::vector<String> seen;
    for (auto& s : ADoc.Sections) {
        if (!s.HasHeader) continue;
        bool dup = false;
        for (auto& n : seen) dup = dup || SameText(n, s.Name);
        if (dup) continue;
        seen.push_back(s.Name);
        AStrings->Add(s.Name);
    }
}

// ---------------------------------------------------------------------------------
// TCustomIniFile

TCustomIniFile::~TCustomIniFile() = default;

int TCustomIniFile::ReadInteger(const String& ASection, const String& AIdent, int ADefault)
{
    String s = Trim(ReadString(ASection, AIdent, String()));
    if (s.empty()) return ADefault;
    return StrToIntDef(s, ADefault);
}

void TCustomIniFile::WriteInteger(const String& ASection, const String& AIdent, int AValue)
{
    WriteString(ASection, AIdent, IntToStr(AValue));
}

bool TCustomIniFile::ReadBool(const String& ASection, const String& AIdent, bool ADefault)
{
    return ReadInteger(ASection, AIdent, ADefault ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& ASection, const String& AIdent, bool AValue)
{
    WriteString(ASection, AIdent, AValue ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const String& ASection, const String& AIdent, double ADefault)
{
    return StrToFloatDef(ReadString(ASection, AIdent, String()), ADefault);
}

void TCustomIniFile::WriteFloat(const String& ASection, const String& AIdent, double AValue)
{
    WriteString(ASection, AIdent, FloatToStr(AValue));
}

bool TCustomIniFile::SectionExists(const String& ASection)
{
    TStringList keys;
    ReadSection(ASection, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& ASection, const String& AIdent)
{
    TStringList keys;
    ReadSection(ASection, &keys);
    return keys.IndexOf(AIdent) >= 0;
}

// ---------------------------------------------------------------------------------
// TMemIniFile

// Reads the file's text; a missing file is empty, one that exists but cannot be read
// raises EFOpenError (so that a later write cannot wipe it).
static String LoadIniText(const String& AFileName)
{
    struct stat st;
    if (AFileName.empty() || ::stat(AFileName.c_str(), &st) != 0) return String();
    if (!S_ISREG(st.st_mode))  // a folder, a pipe, a device: never read or replaced
        throw EFOpenError("Cannot open file \"%s\". Not a regular file", AFileName);
    return ReadFileToString(AFileName);
}

TMemIniFile::TMemIniFile(const String& AFileName) : TCustomIniFile(AFileName), FDoc(std::make_unique<TIniDocument>())
{
    Reload();
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::Reload()
{
    FDoc->Parse(LoadIniText(FileName()));
    FModified = false;
}

String TMemIniFile::ReadString(const String& ASection, const String& AIdent, const String& ADefault)
{
    return DocRead(*FDoc, ASection, AIdent, ADefault);
}

void TMemIniFile::WriteString(const String& ASection, const String& AIdent, const String& AValue)
{
    FDoc->Write(ASection, AIdent, AValue);
    FModified = true;
}

void TMemIniFile::ReadSection(const String& ASection, TStrings* AStrings) { DocSection(*FDoc, ASection, AStrings, false); }
void TMemIniFile::ReadSections(TStrings* AStrings) { DocSections(*FDoc, AStrings); }
void TMemIniFile::ReadSectionValues(const String& ASection, TStrings* AStrings) { DocSection(*FDoc, ASection, AStrings, true); }

void TMemIniFile::EraseSection(const String& ASection)
{
    if (FDoc->EraseSection(ASection)) FModified = true;
}

void TMemIniFile::DeleteKey(const String& ASection, const String& AIdent)
{
    if (FDoc->DeleteKey(ASection, AIdent)) FModified = true;
}

void TMemIniFile::UpdateFile()
{
    if (FileName().empty()) return;
    WriteFileAtomic(FileName(), FDoc->Serialize());
    FModified = false;
}

void TMemIniFile::GetStrings(TStrings* AList)
{
    TStringList lines;
    lines.SetText(FDoc->Serialize());
    AList->Assign(&lines);
}

void TMemIniFile::SetStrings(const TStrings* AList)
{
    String text;
    for (int i = 0; i < AList->Count(); ++i) text += AList->Strings(i) + "\n";
    FDoc->Parse(text);
    FModified = true;
}

void TMemIniFile::Clear()
{
    FDoc->Parse(String());
    FModified = true;
}

// ---------------------------------------------------------------------------------
// TIniFile

TIniFile::TIniFile(const String& AFileName) : TCustomIniFile(AFileName), FDoc(std::make_unique<TIniDocument>()) {}

TIniFile::~TIniFile() = default;

// The document as the file is now: re-read whenever the file's identity, size or
// modification time differ from what was read last.
TIniDocument& TIniFile::Current()
{
    TFileStamp stamp;
    struct stat st;
    if (::stat(FileName().c_str(), &st) == 0) {
        stamp.Exists = true;
        stamp.Dev = st.st_dev;
        stamp.Ino = st.st_ino;
        stamp.Size = st.st_size;
        stamp.MTimeSec = st.st_mtim.tv_sec;
        stamp.MTimeNSec = st.st_mtim.tv_nsec;
    }
    if (!FLoaded || !(stamp == FStamp)) {
        FLoaded = false;
        FDoc->Parse(LoadIniText(FileName()));
        FStamp = stamp;
        FLoaded = true;
    }
    return *FDoc;
}

void TIniFile::Store()
{
    try {
        WriteFileAtomic(FileName(), FDoc->Serialize());
    } catch (...) {
        FLoaded = false;  // the document no longer matches the file
        throw;
    }
    FLoaded = false;  // take the new file's stamp on the next call
}

// The current document for reading: a file that cannot be read reads as empty.
TIniDocument& TIniFile::Readable()
{
    try {
        return Current();
    } catch (const EStreamError&) {
        FDoc->Parse(String());
        return *FDoc;
    }
}

String TIniFile::ReadString(const String& ASection, const String& AIdent, const String& ADefault)
{
    return DocRead(Readable(), ASection, AIdent, ADefault);
}

namespace {

// One lock per file for the writers of this process: each write reads the file, changes
// it and replaces it, so two objects on one file (or two forms writing the settings)
// would otherwise lose each other's keys.
std::mutex& WriterLock(const String& AFileName)
{
    static std::mutex Guard;
    static std::unordered_map<String, std::unique_ptr<std::mutex>> Locks;
    std::error_code E;
    std::filesystem::path P = std::filesystem::weakly_canonical(std::filesystem::absolute(AFileName, E), E);
    const String Key = E ? AFileName : P.string();
    std::lock_guard<std::mutex> G(Guard);
    std::unique_ptr<std::mutex>& L = Locks[Key];
    if (!L) L = std::make_unique<std::mutex>();
    return *L;
}

// One writer at a time for one file, within this process (the lock above) and across
// processes: each holds an exclusive lock on the file's lock file ("<file>.lock") while it
// reads, changes and replaces the file.  Where no lock file can be made (a folder that
// cannot be written), the write itself fails anyway.
class TWriterGuard {
public:
    explicit TWriterGuard(const String& AFileName) : FProcess(WriterLock(AFileName))
    {
        FLock = ::open((AFileName + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (FLock >= 0)
            while (::flock(FLock, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~TWriterGuard()
    {
        if (FLock >= 0) ::close(FLock);
    }
    TWriterGuard(const TWriterGuard&) = delete;
    TWriterGuard& operator=(const TWriterGuard&) = delete;

private:
    std::lock_guard<std::mutex> FProcess;
    int FLock = -1;
};

}  // namespace

void TIniFile::WriteString(const String& ASection, const String& AIdent, const String& AValue)
{
    TWriterGuard G(FileName());
    Current().Write(ASection, AIdent, AValue);
    Store();
}

void TIniFile::ReadSection(const String& ASection, TStrings* AStrings) { DocSection(Readable(), ASection, AStrings, false); }
void TIniFile::ReadSections(TStrings* AStrings) { DocSections(Readable(), AStrings); }
void TIniFile::ReadSectionValues(const String& ASection, TStrings* AStrings) { DocSection(Readable(), ASection, AStrings, true); }

void TIniFile::EraseSection(const String& ASection)
{
    TWriterGuard G(FileName());
    if (Current().EraseSection(ASection)) Store();
}

void TIniFile::DeleteKey(const String& ASection, const String& AIdent)
{
    TWriterGuard G(FileName());
    if (Current().DeleteKey(ASection, AIdent)) Store();
}
