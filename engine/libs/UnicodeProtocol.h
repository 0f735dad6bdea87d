// File names handed to FFmpeg.  A name the locale's character set can carry goes as
// it stands (FFmpeg's own "file" protocol opens it); any other goes as the URL
// "unicode:utf8:" + the UTF-8 name, which the engine serves itself through a custom
// AVIOContext (this FFmpeg generation has no way to register a protocol).  Every
// input and output of the engine is opened through OpenInputURL / OpenOutputIO so
// that both kinds of name work.
#pragma once

#include "engine/libs/FFmpegHeaders.h"
#include "platform/system/Types.h"

#include <atomic>

// The URL prefix of names the locale cannot carry.
constexpr const char* UnicodeURLPrefix = "unicode:utf8:";

// False for names that begin with a known protocol ("udp:", "http:", ...); otherwise
// true when the name does not survive conversion to the locale's character set.
bool NeedsUnicodeProtocol(const String& AFileName);
// The text to give FFmpeg for a file name (a new string per call).  A relative name
// with a ":" before any "/" gets "file:" in front so that FFmpeg takes no protocol
// from it.
String FileNameToURL(const String& AFileName);
// True for "unicode:utf8:" followed by at least one byte.
bool IsUnicodeURL(const String& AURL);
// The name inside a "unicode:utf8:" URL.
String URLToFileName(const String& AURL);
// The file name behind a text that FileNameToURL made.
String DecodeURL(const String& AURL);

// Checks that the I/O entry points are bound; called after every load of avformat.
void RegisterUnicodeProtocol();

// Opens a "unicode:utf8:" URL as an AVIOContext: AFlags is AVIO_FLAG_READ, _WRITE or
// _READ_WRITE (writing creates or truncates).  0 or a negative FFmpeg error code.
int UnicodeIOOpen(AVIOContext** APB, const String& AURL, int AFlags);
// True for a context made by UnicodeIOOpen.
bool IsUnicodeIO(const AVIOContext* APB);
// Flushes, closes the file and frees a context made by UnicodeIOOpen; nulls *APB.
// 0, or the first write or close error (a full disk shows here at the latest).
int UnicodeIOClose(AVIOContext** APB);

// True for a "stream:<address>:<private data>" name: a host's TStream (its address in
// decimal) that the engine reads or writes through a custom AVIOContext.
bool IsStreamURL(const String& AURL);
// Makes an AVIOContext over the TStream of a "stream:" name (AFlags as for
// UnicodeIOOpen; the stream stays the host's).  0 or a negative FFmpeg error code.
int StreamIOOpen(AVIOContext** APB, const String& AURL, int AFlags);

// How long a named pipe or device given as an input may deliver nothing before its read
// fails (milliseconds).
extern std::atomic<int> InputStallLimitMs;

// avformat_open_input for a name made by FileNameToURL.  *AContext may be null or a
// context from avformat_alloc_context; on failure it is freed and nulled.  A named pipe
// or device is read by the engine without blocking: each read ends soon after the
// context's interrupt callback (set before the call) asks, and fails with ETIMEDOUT
// when nothing arrives for InputStallLimitMs.
int OpenInputURL(AVFormatContext** AContext, const String& AURL, const AVInputFormat* AFormat,
                 AVDictionary** AOptions);
// avformat_close_input, also closing the engine's own reader.
void CloseInputURL(AVFormatContext** AContext);
// avio_open2 for a name made by FileNameToURL.
int OpenOutputIO(AVIOContext** APB, const String& AURL, int AFlags, const AVIOInterruptCB* AInterrupt,
                 AVDictionary** AOptions);
// avio_closep, or the engine's own close for its unicode and stream writers: 0, or the
// error of the last writes or of the close.
int CloseOutputIO(AVIOContext** APB);
