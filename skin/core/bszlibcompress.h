// Stream classes over zlib: a write-only stream that deflates into another stream, a
// read-only stream that inflates from another stream, and whole-stream helpers.  Stored
// skins keep their payload in this form (a plain zlib stream: header, deflate data,
// checksum).
#pragma once

#include <zlib.h>

#include "platform/system/Classes.h"
#include "platform/system/SysUtils.h"

VC_DECLARE_EXCEPTION(EZlibError, Exception)
VC_DECLARE_EXCEPTION(ECompressionError, EZlibError)
VC_DECLARE_EXCEPTION(EDecompressionError, EZlibError)

// Scoped: clNone and clDefault also name colours.
enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };

class TCustomZlibStream : public TStream {
public:
    // Raised after each block of the block buffer moved to or from the other stream.
    TNotifyEvent OnProgress;

protected:
    explicit TCustomZlibStream(TStream* AStrm);
    virtual void DoProgress(TObject* Sender);
    // Puts the other stream back where this object left it, in case someone moved it.
    void RestoreStrmPosition();

    static constexpr int BufferSize = 8192;
    TStream* FStrm;           // not owned
    int64_t FStrmPos;         // position in FStrm up to which this object wrote or read
    z_stream FZRec;
    uint8_t FBuffer[BufferSize];
};

class TCompressionStream : public TCustomZlibStream {
public:
    TCompressionStream(TCompressionLevel ACompressionLevel, TStream* ADest);
    // Finishes the zlib data when Finish was not called; errors are then lost, so writers
    // that must know call Finish themselves.
    ~TCompressionStream() override;

    int64_t Read(void* ABuffer, int64_t ACount) override;
    int64_t Write(const void* ABuffer, int64_t ACount) override;
    // Only Seek(0, soCurrent) is allowed: the number of bytes taken in so far.
    int64_t Seek(int64_t AOffset, TSeekOrigin AOrigin) override;

    // Writes the end of the zlib data into the destination; later writes raise.
    void Finish();
    // (1 - bytes out / bytes in) * 100; 0 before any input.
    float CompressionRate() const;

private:
    bool FFinished = false;
};

class TDecompressionStream : public TCustomZlibStream {
public:
    explicit TDecompressionStream(TStream* ASource);
    ~TDecompressionStream() override;

    // Delivers up to ACount bytes; fewer only at the end of the compressed data.  Corrupt
    // data, or a source that ends before the compressed data does, raise
    // EDecompressionError.
    int64_t Read(void* ABuffer, int64_t ACount) override;
    int64_t Write(const void* ABuffer, int64_t ACount) override;
    // Seek(0, soBeginning) rewinds to the start of the source; forward seeks skip data;
    // everything else raises.  Returns the number of bytes delivered so far.
    int64_t Seek(int64_t AOffset, TSeekOrigin AOrigin) override;

private:
    void Skip(int64_t ACount);
    bool FStreamEnd = false;
};

// Compresses all of ASource into ADest at the highest level.
void ZCompressMemoryStream(TMemoryStream* ASource, TMemoryStream* ADest);
// Decompresses all of ASource into ADest.
void ZDecompressStream(TStream* ADest, TMemoryStream* ASource);
