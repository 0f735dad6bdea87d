// The clipboard: Unicode text and pictures shared with other programs.
//
// Its content goes through a provider: while the X11 backend is in use, the display's
// CLIPBOARD selection (UTF-8 text, or a picture as PNG and BMP files, shared with
// other programs); with the headless backend one inside the program.  A provider can
// also be installed explicitly.  The clipboard holds text or a picture: putting one
// there replaces the other.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/WinDef.h"
#include "platform/system/Classes.h"

constexpr UINT CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13;

// A picture as other programs take it from the clipboard: a PNG file and a BMP file
// (24 bits) of the same colours.
struct TClipboardPicture {
    std::vector<uint8_t> Png, Bmp;
};

class TClipboardProvider {
public:
    virtual ~TClipboardProvider() = default;
    virtual void SetText(const String& Text) = 0;
    virtual void SetPicture(const TClipboardPicture& Picture) = 0;
    // False when the clipboard holds no text.
    virtual bool GetText(String& Text) = 0;
    virtual bool HasText() = 0;
    virtual void Clear() = 0;
};

class TClipboard : public TPersistent {
public:
    // Puts a picture on the clipboard: a TPicture's graphic or any TGraphic, by its
    // colours (alpha is left out).  An empty picture clears the clipboard.  Other
    // sources are asked to assign themselves to the clipboard.
    void Assign(TPersistent* Source) override;
    // The text on the clipboard ("" when it holds none).
    String AsText();
    void SetAsText(const String& Text);
    // CF_TEXT and CF_UNICODETEXT: whether the clipboard holds non-empty text.
    bool HasFormat(UINT Format);
    void Clear();
    void Open() { ++FOpenCount; }
    void Close()
    {
        if (FOpenCount > 0) --FOpenCount;
    }

private:
    int FOpenCount = 0;
};

// The program's clipboard object.
TClipboard* Clipboard();
// Installs a provider (nullptr: back to the choice by backend) and returns the previous one.
std::unique_ptr<TClipboardProvider> SetClipboardProvider(std::unique_ptr<TClipboardProvider> Provider);
TClipboardProvider& ClipboardProvider();
