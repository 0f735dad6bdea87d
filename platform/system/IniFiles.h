// Ini files: "[section]" headers and "key=value" lines.  Sections and keys compare
// without regard to ASCII case; a missing key reads as the given default.  Reading
// tolerates CR LF line ends and a UTF-8 byte-order mark; files are written as UTF-8 with
// LF line ends, atomically (temporary file beside, then rename), keeping comments and
// the other sections and keys as they were.
#pragma once

#include "platform/system/Classes.h"

#include <memory>

class TIniDocument;

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const String& AFileName) : FFileName(AFileName) {}
    ~TCustomIniFile() override;

    const String& FileName() const { return FFileName; }

    virtual String ReadString(const String& ASection, const String& AIdent, const String& ADefault) = 0;
    virtual void WriteString(const String& ASection, const String& AIdent, const String& AValue) = 0;
    // Decimal, "$" hex or "0x" hex; the default for missing or bad text.
    virtual int ReadInteger(const String& ASection, const String& AIdent, int ADefault);
    virtual void WriteInteger(const String& ASection, const String& AIdent, int AValue);
    // Non-zero integer is true; written as "1"/"0".
    virtual bool ReadBool(const String& ASection, const String& AIdent, bool ADefault);
    virtual void WriteBool(const String& ASection, const String& AIdent, bool AValue);
    virtual double ReadFloat(const String& ASection, const String& AIdent, double ADefault);
    virtual void WriteFloat(const String& ASection, const String& AIdent, double AValue);

    // The keys of a section, in file order.
    virtual void ReadSection(const String& ASection, TStrings* AStrings) = 0;
    // The names of the sections, in file order.
    virtual void ReadSections(TStrings* AStrings) = 0;
    // The "key=value" lines of a section.
    virtual void ReadSectionValues(const String& ASection, TStrings* AStrings) = 0;
    // A section counts as present when it holds at least one key.
    virtual bool SectionExists(const String& ASection);
    virtual bool ValueExists(const String& ASection, const String& AIdent);
    virtual void EraseSection(const String& ASection) = 0;
    virtual void DeleteKey(const String& ASection, const String& AIdent) = 0;
    // Writes pending changes to the file (raises and keeps the old file when it fails).
    virtual void UpdateFile() = 0;

private:
    String FFileName;
};

// An ini file held in memory: read once from the file (when it exists) and written
// back by UpdateFile.  An empty file name gives a purely in-memory ini.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const String& AFileName);
    ~TMemIniFile() override;

    String ReadString(const String& ASection, const String& AIdent, const String& ADefault) override;
    void WriteString(const String& ASection, const String& AIdent, const String& AValue) override;
    void ReadSection(const String& ASection, TStrings* AStrings) override;
    void ReadSections(TStrings* AStrings) override;
    void ReadSectionValues(const String& ASection, TStrings* AStrings) override;
    void EraseSection(const String& ASection) override;
    void DeleteKey(const String& ASection, const String& AIdent) override;
    void UpdateFile() override;

    // The whole text as lines / replaced by lines.
    void GetStrings(TStrings* AList);
    void SetStrings(const TStrings* AList);
    void Clear();
    // Re-reads the file, dropping changes not yet written.
    void Reload();
    bool Modified() const { return FModified; }

private:
    std::unique_ptr<TIniDocument> FDoc;
    bool FModified = false;
};

// An ini file backed by its file: every read sees the file as it is now, and every
// write changes the file at once.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const String& AFileName);
    ~TIniFile() override;

    String ReadString(const String& ASection, const String& AIdent, const String& ADefault) override;
    void WriteString(const String& ASection, const String& AIdent, const String& AValue) override;
    void ReadSection(const String& ASection, TStrings* AStrings) override;
    void ReadSections(TStrings* AStrings) override;
    void ReadSectionValues(const String& ASection, TStrings* AStrings) override;
    void EraseSection(const String& ASection) override;
    void DeleteKey(const String& ASection, const String& AIdent) override;
    void UpdateFile() override {}

private:
    TIniDocument& Current();
    TIniDocument& Readable();
    void Store();
    std::unique_ptr<TIniDocument> FDoc;
    struct TFileStamp {
        bool Exists = false;
        uint64_t Dev = 0, Ino = 0;
        int64_t Size = 0, MTimeSec = 0, MTimeNSec = 0;
        bool operator==(const TFileStamp&) const = default;
    } FStamp;
    bool FLoaded = false;
};
