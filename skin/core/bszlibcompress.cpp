// zlib compression and decompression streams.
#include "skin/core/bszlibcompress.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const sCompressionError = "error";
const char* const sDecompressionError = "compression error";
const char* const sInvalidStreamOp = "Invalid stream operation";

int ZLevel(TCompressionLevel L)
{
    switch (L) {
    case TCompressionLevel::clNone: return 0;
    case TCompressionLevel::clFastest: return 1;
    case TCompressionLevel::clMax: return 9;
    default: return Z_DEFAULT_COMPRESSION;
    }
}

int CCheck(int Code)
{
    if (Code < 0) throw ECompressionError(sCompressionError);
    return Code;
}

int DCheck(int Code)
{
    if (Code < 0) throw EDecompressionError(sDecompressionError);
    return Code;
}

}  // namespace

// ---- TCustomZlibStream ----------------------------------------------------------------

TCustomZlibStream::TCustomZlibStream(TStream* AStrm) : FStrm(AStrm), FStrmPos(AStrm ? AStrm->Position() : 0)
{
    std::memset(&FZRec, 0, sizeof(FZRec));
}

void TCustomZlibStream::DoProgress(TObject* Sender)
{
    if (OnProgress) OnProgress(Sender);
}

void TCustomZlibStream::RestoreStrmPosition()
{
    if (FStrm->Position() != FStrmPos) FStrm->SetPosition(FStrmPos);
}

// ---- TCompressionStream ---------------------------------------------------------------

TCompressionStream::TCompressionStream(TCompressionLevel ACompressionLevel, TStream* ADest)
    : TCustomZlibStream(ADest)
{
    if (!ADest) throw ECompressionError(sCompressionError);
    FZRec.next_out = FBuffer;
    FZRec.avail_out = BufferSize;
    CCheck(deflateInit(&FZRec, ZLevel(ACompressionLevel)));
}

TCompressionStream::~TCompressionStream()
{
    try {
        Finish();
    } catch (...) {
        // A destructor cannot report; Finish was the caller's chance to see the error.
    }
    deflateEnd(&FZRec);
}

void TCompressionStream::Finish()
{
    if (FFinished) return;
    FFinished = true;
    FZRec.next_in = nullptr;
    FZRec.avail_in = 0;
    RestoreStrmPosition();
    while (CCheck(deflate(&FZRec, Z_FINISH)) != Z_STREAM_END && FZRec.avail_out == 0) {
        FStrm->WriteBuffer(FBuffer, BufferSize);
        FZRec.next_out = FBuffer;
        FZRec.avail_out = BufferSize;
    }
    if (FZRec.avail_out < unsigned(BufferSize)) FStrm->WriteBuffer(FBuffer, BufferSize - FZRec.avail_out);
    FZRec.next_out = FBuffer;
    FZRec.avail_out = BufferSize;
    FStrmPos = FStrm->Position();
}

int64_t TCompressionStream::Read(void*, int64_t) { throw ECompressionError(sInvalidStreamOp); }

int64_t TCompressionStream::Write(const void* ABuffer, int64_t ACount)
{
    if (FFinished) throw ECompressionError(sInvalidStreamOp);
    if (ACount <= 0) return 0;
    RestoreStrmPosition();
    const Bytef* in = static_cast<const Bytef*>(ABuffer);
    int64_t left = ACount;
    while (left > 0) {
        uInt chunk = uInt(std::min<int64_t>(left, 1 << 30));
        FZRec.next_in = const_cast<Bytef*>(in);
        FZRec.avail_in = chunk;
        while (FZRec.avail_in > 0) {
            CCheck(deflate(&FZRec, Z_NO_FLUSH));
            if (FZRec.avail_out == 0) {
                FStrm->WriteBuffer(FBuffer, BufferSize);
                FZRec.next_out = FBuffer;
                FZRec.avail_out = BufferSize;
                FStrmPos = FStrm->Position();
                DoProgress(this);
            }
        }
        in += chunk;
        left -= chunk;
    }
    return ACount;
}

int64_t TCompressionStream::Seek(int64_t AOffset, TSeekOrigin AOrigin)
{
    if (AOffset == 0 && AOrigin == soCurrent) return int64_t(FZRec.total_in);
    throw ECompressionError(sInvalidStreamOp);
}

float TCompressionStream::CompressionRate() const
{
    if (FZRec.total_in == 0) return 0;
    return float((1.0 - double(FZRec.total_out) / double(FZRec.total_in)) * 100.0);
}

// ---- TDecompressionStream -------------------------------------------------------------

TDecompressionStream::TDecompressionStream(TStream* ASource) : TCustomZlibStream(ASource)
{
    if (!ASource) throw EDecompressionError(sDecompressionError);
    FZRec.next_in = FBuffer;
    FZRec.avail_in = 0;
    DCheck(inflateInit(&FZRec));
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&FZRec); }

int64_t TDecompressionStream::Read(void* ABuffer, int64_t ACount)
{
    if (ACount <= 0 || FStreamEnd) return 0;
    Bytef* out = static_cast<Bytef*>(ABuffer);
    int64_t delivered = 0;
    while (delivered < ACount) {
        uInt room = uInt(std::min<int64_t>(ACount - delivered, 1 << 30));
        FZRec.next_out = out + delivered;
        FZRec.avail_out = room;
        while (FZRec.avail_out > 0) {
            if (FZRec.avail_in == 0) {
                RestoreStrmPosition();
                int64_t got = FStrm->Read(FBuffer, BufferSize);
                if (got <= 0)
                    // The source ended inside the compressed data: not a complete stream.
                    throw EDecompressionError(sDecompressionError);
                FZRec.next_in = FBuffer;
                FZRec.avail_in = uInt(got);
                FStrmPos = FStrm->Position();
                DoProgress(this);
            }
            int rc = DCheck(inflate(&FZRec, Z_NO_FLUSH));
            if (rc == Z_NEED_DICT) throw EDecompressionError(sDecompressionError);
            if (rc == Z_STREAM_END) {
                FStreamEnd = true;
                return delivered + (room - FZRec.avail_out);
            }
        }
        delivered += room;
    }
    return delivered;
}

int64_t TDecompressionStream::Write(const void*, int64_t) { throw EDecompressionError(sInvalidStreamOp); }

void TDecompressionStream::Skip(int64_t ACount)
{
    uint8_t buf[BufferSize];
    while (ACount > 0) {
        int64_t n = std::min<int64_t>(ACount, BufferSize);
        if (Read(buf, n) < n) break;  // the compressed data ended
        ACount -= n;
    }
}

int64_t TDecompressionStream::Seek(int64_t AOffset, TSeekOrigin AOrigin)
{
    const int64_t delivered = int64_t(FZRec.total_out);
    if (AOffset == 0 && AOrigin == soBeginning) {
        DCheck(inflateReset(&FZRec));
        FZRec.next_in = FBuffer;
        FZRec.avail_in = 0;
        FStreamEnd = false;
        FStrm->SetPosition(0);
        FStrmPos = 0;
    } else if (AOrigin == soCurrent && AOffset >= 0) {
        Skip(AOffset);
    } else if (AOrigin == soBeginning && AOffset > delivered) {
        Skip(AOffset - delivered);
    } else {
        // backwards, to where it stands, or from the end: the stream cannot tell
        throw EDecompressionError(sInvalidStreamOp);
    }
    return int64_t(FZRec.total_out);
}

// ---- Whole streams ----------------------------------------------------------------------

void ZCompressMemoryStream(TMemoryStream* ASource, TMemoryStream* ADest)
{
    TCompressionStream zs(TCompressionLevel::clMax, ADest);
    ASource->SetPosition(0);
    zs.CopyFrom(ASource, 0);
    zs.Finish();
}

void ZDecompressStream(TStream* ADest, TMemoryStream* ASource)
{
    ASource->SetPosition(0);
    TDecompressionStream zs(ASource);
    uint8_t buf[4096];
    for (;;) {
        int64_t n = zs.Read(buf, sizeof(buf));
        if (n <= 0) break;
        ADest->WriteBuffer(buf, n);
    }
}
