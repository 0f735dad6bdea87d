// JPEG pictures through libjpeg: decoding (grey, colour and CMYK files) and baseline
// colour encoding at the picture's quality.
#include <cstdio>
#include <csetjmp>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/graphics/Codecs.h"

namespace {

struct TJpegError {
    jpeg_error_mgr Mgr;
    jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX] = {};
};

void ErrorExit(j_common_ptr C)
{
    auto* E = reinterpret_cast<TJpegError*>(C->err);
    (*C->err->format_message)(C, E->Message);
    longjmp(E->Jump, 1);
}

void NoOutput(j_common_ptr) {}

// Warnings pass, except running out of data: a truncated file is an error here.
void EmitMessage(j_common_ptr C, int Level)
{
    if (Level < 0 && C->err->msg_code == JWRN_JPEG_EOF) (*C->err->error_exit)(C);
}

// The decode's results, written through a pointer between setjmp and longjmp.
struct TJpegDecoded {
    int W = 0, H = 0;
    bool Gray = false;
    std::vector<uint8_t> Rgb;   // 3 bytes per pixel, red first
};

bool DecodeJpeg(const uint8_t* Data, size_t Size, TJpegDecoded* Out, TJpegError* Err)
{
    jpeg_decompress_struct* C = new jpeg_decompress_struct();
    std::vector<uint8_t>* Line = new std::vector<uint8_t>();
    C->err = jpeg_std_error(&Err->Mgr);
    Err->Mgr.error_exit = ErrorExit;
    Err->Mgr.output_message = NoOutput;
    Err->Mgr.emit_message = EmitMessage;
    if (setjmp(Err->Jump)) {
        jpeg_destroy_decompress(C);
        delete C;
        delete Line;
        return false;
    }
    jpeg_create_decompress(C);
    jpeg_mem_src(C, const_cast<unsigned char*>(Data), (unsigned long)Size);
    jpeg_read_header(C, TRUE);
    if (uint64_t(C->image_width) * C->image_height > (uint64_t(1) << 28) || C->image_width == 0 || C->image_height == 0) {
        std::strcpy(Err->Message, "image too large");
        longjmp(Err->Jump, 1);
    }
    bool Cmyk = C->jpeg_color_space == JCS_CMYK || C->jpeg_color_space == JCS_YCCK;
    Out->Gray = C->jpeg_color_space == JCS_GRAYSCALE;
    C->out_color_space = Cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(C);
    Out->W = int(C->output_width);
    Out->H = int(C->output_height);
    int Comps = C->output_components;
    Out->Rgb.assign(size_t(Out->W) * Out->H * 3, 0);
    Line->resize(size_t(Out->W) * size_t(Comps));
    while (C->output_scanline < C->output_height) {
        JSAMPROW Row = Line->data();
        int y = int(C->output_scanline);
        if (jpeg_read_scanlines(C, &Row, 1) != 1) break;
        uint8_t* D = Out->Rgb.data() + size_t(y) * Out->W * 3;
        for (int x = 0; x < Out->W; ++x) {
            const uint8_t* S = Line->data() + size_t(x) * Comps;
            if (Comps == 4) {
                // Inverted CMYK as written by common tools.
                D[3 * x] = uint8_t(S[0] * S[3] / 255);
                D[3 * x + 1] = uint8_t(S[1] * S[3] / 255);
                D[3 * x + 2] = uint8_t(S[2] * S[3] / 255);
            } else if (Comps == 1) {
                D[3 * x] = D[3 * x + 1] = D[3 * x + 2] = S[0];
            } else {
                std::memcpy(D + 3 * x, S, 3);
            }
        }
    }
    jpeg_finish_decompress(C);
    jpeg_destroy_decompress(C);
    delete C;
    delete Line;
    return true;
}

bool EncodeJpeg(const TSurface& S, int Quality, std::vector<uint8_t>* Out, TJpegError* Err)
{
    jpeg_compress_struct* C = new jpeg_compress_struct();
    std::vector<uint8_t>* Line = new std::vector<uint8_t>(size_t(S.Width()) * 3);
    unsigned char* Mem = nullptr;
    unsigned long MemSize = 0;
    C->err = jpeg_std_error(&Err->Mgr);
    Err->Mgr.error_exit = ErrorExit;
    Err->Mgr.output_message = NoOutput;
    if (setjmp(Err->Jump)) {
        jpeg_destroy_compress(C);
        delete C;
        delete Line;
        free(Mem);
        return false;
    }
    jpeg_create_compress(C);
    jpeg_mem_dest(C, &Mem, &MemSize);
    C->image_width = JDIMENSION(S.Width());
    C->image_height = JDIMENSION(S.Height());
    C->input_components = 3;
    C->in_color_space = JCS_RGB;
    jpeg_set_defaults(C);
    jpeg_set_quality(C, Quality, TRUE);
    jpeg_start_compress(C, TRUE);
    while (C->next_scanline < C->image_height) {
        int y = int(C->next_scanline);
        for (int x = 0; x < S.Width(); ++x) {
            uint32_t P = S.GetPixel(x, y);
            (*Line)[size_t(3 * x)] = (P >> 16) & 0xFF;
            (*Line)[size_t(3 * x + 1)] = (P >> 8) & 0xFF;
            (*Line)[size_t(3 * x + 2)] = P & 0xFF;
        }
        JSAMPROW Row = Line->data();
        jpeg_write_scanlines(C, &Row, 1);
    }
    jpeg_finish_compress(C);
    Out->assign(Mem, Mem + MemSize);
    jpeg_destroy_compress(C);
    delete C;
    delete Line;
    free(Mem);
    return true;
}

}  // namespace

TJPEGImage::TJPEGImage() : FBitmap(std::make_unique<TBitmap>())
{
    FBitmap->SetPixelFormat(pf24bit);
}

TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::Empty() const { return FBitmap->Empty(); }
int TJPEGImage::Width() const { return FBitmap->Width(); }
int TJPEGImage::Height() const { return FBitmap->Height(); }

void TJPEGImage::Assign(TPersistent* Source)
{
    if (!Source) {
        FBitmap->SetSize(0, 0);
        Changed(this);
        return;
    }
    if (auto* J = dynamic_cast<TJPEGImage*>(Source)) {
        if (J == this) return;
        FBitmap->Assign(J->FBitmap.get());
        FGrayscale = J->FGrayscale;
        CompressionQuality = J->CompressionQuality;
        Changed(this);
        return;
    }
    if (auto* B = dynamic_cast<TBitmap*>(Source)) {
        FBitmap->Assign(B);
        FBitmap->SetTransparent(false);
        FBitmap->SetPixelFormat(pf24bit);
        FGrayscale = false;
        Changed(this);
        return;
    }
    TGraphic::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest)
{
    if (auto* B = dynamic_cast<TBitmap*>(Dest)) {
        B->Assign(FBitmap.get());
        return;
    }
    TGraphic::AssignTo(Dest);
}

void TJPEGImage::LoadFromStream(TStream* Stream)
{
    std::vector<uint8_t> Data = gdi::ReadRest(Stream);
    if (Data.size() < 4 || Data[0] != 0xFF || Data[1] != 0xD8) throw EInvalidGraphic("JPEG image is not valid: no start of image");
    auto Out = std::make_unique<TJpegDecoded>();
    auto Err = std::make_unique<TJpegError>();
    if (!DecodeJpeg(Data.data(), Data.size(), Out.get(), Err.get()))
        throw EInvalidGraphic(String("JPEG image is not valid: ") + Err->Message);
    auto B = std::make_unique<TBitmap>();
    B->SetPixelFormat(pf24bit);
    B->SetSize(Out->W, Out->H);
    PSurface S = B->Surface();
    for (int y = 0; y < Out->H; ++y) {
        uint8_t* Row = S->Row(y);
        const uint8_t* Src = Out->Rgb.data() + size_t(y) * Out->W * 3;
        for (int x = 0; x < Out->W; ++x) {
            Row[3 * x] = Src[3 * x + 2];
            Row[3 * x + 1] = Src[3 * x + 1];
            Row[3 * x + 2] = Src[3 * x];
        }
    }
    FBitmap = std::move(B);
    FGrayscale = Out->Gray;
    Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream)
{
    if (!Stream) throw EInvalidGraphic("No stream to write the picture to");
    if (Empty()) throw EInvalidGraphic("Cannot save an empty JPEG image");
    std::vector<uint8_t> Out;
    auto Err = std::make_unique<TJpegError>();
    if (!EncodeJpeg(*FBitmap->Surface(), std::clamp(CompressionQuality, 1, 100), &Out, Err.get()))
        throw EInvalidGraphic(String("Cannot write JPEG image: ") + Err->Message);
    Stream->WriteBuffer(Out.data(), int64_t(Out.size()));
}

void TJPEGImage::Draw(TCanvas* Canvas, const TRect& R)
{
    Canvas->StretchDraw(R, FBitmap.get());
}
