// Drawing into the player's window: the SDL video surface, the picture as a YUV overlay
// with its aspect ratio and the subtitles blended in, and the two audio visualisations.
// Everything here runs on the play thread under the player's data lock.
#include "engine/player/FFPlay.h"

#include "engine/libs/FFmpegLoader.h"
#include "platform/forms/Forms.h"
#include "platform/system/Types.h"

#include <algorithm>
#include <cmath>
#include <cstring>

TDisplayRect CalculateDisplayRect(int AWidth, int AHeight, double AAspect)
{
    TDisplayRect R;
    if (!(AAspect > 0)) AAspect = 1;
    int H = AHeight;
    int W = int(Round(H * AAspect)) & ~1;
    if (W > AWidth) {
        W = AWidth;
        H = int(Round(W / AAspect)) & ~1;
    }
    R.X = (AWidth - W) / 2;
    R.Y = (AHeight - H) / 2;
    R.W = W;
    R.H = H;
    return R;
}

double DisplayAspect(float AAspectRatio, int AWindowWidth, int AWindowHeight, AVRational ASampleAspect,
                     int APictureWidth, int APictureHeight)
{
    if (AAspectRatio < 0 && AWindowWidth != 0 && AWindowHeight != 0) return double(AWindowWidth) / AWindowHeight;
    if (AAspectRatio > 0) return AAspectRatio;
    double Aspect = ASampleAspect.num != 0 && ASampleAspect.den != 0 ? av_q2d(ASampleAspect) : 0;
    if (Aspect <= 0) Aspect = 1;
    if (APictureHeight > 0) Aspect *= double(APictureWidth) / APictureHeight;
    return Aspect;
}

// ---------------------------------------------------------------------------------
// Subtitles

namespace {

inline int YOf(uint32_t C) { return int((C >> 16) & 0xFF); }
inline int UOf(uint32_t C) { return int((C >> 8) & 0xFF); }
inline int VOf(uint32_t C) { return int(C & 0xFF); }
inline int AOf(uint32_t C) { return int(C >> 24); }

}  // namespace

void BlendSubtitleRect(TYUVPicture& APicture, const AVSubtitleRect& ARect, int AWidth, int AHeight)
{
    const int W = std::clamp(ARect.w, 0, AWidth);
    const int H = std::clamp(ARect.h, 0, AHeight);
    const int X0 = std::clamp(ARect.x, 0, AWidth - W);
    const int Y0 = std::clamp(ARect.y, 0, AHeight - H);
    if (W == 0 || H == 0 || !ARect.data[0] || !ARect.data[1]) return;
    const auto* Pal = reinterpret_cast<const uint32_t*>(ARect.data[1]);
    auto Entry = [&](int X, int Y) { return Pal[ARect.data[0][size_t(Y - Y0) * ARect.linesize[0] + (X - X0)]]; };
    // Luma: every covered sample.
    for (int Y = Y0; Y < Y0 + H; ++Y) {
        uint8_t* Row = APicture.data[0] + size_t(Y) * APicture.linesize[0];
        for (int X = X0; X < X0 + W; ++X) {
            uint32_t C = Entry(X, Y);
            int A = AOf(C);
            Row[X] = uint8_t(((255 - A) * Row[X] + A * YOf(C)) / 255);
        }
    }
    // Chroma: each 2x2 block by the pixels of it the rectangle covers (4, 2 or 1).
    for (int Cy = Y0 / 2; Cy <= (Y0 + H - 1) / 2; ++Cy) {
        uint8_t* URow = APicture.data[1] + size_t(Cy) * APicture.linesize[1];
        uint8_t* VRow = APicture.data[2] + size_t(Cy) * APicture.linesize[2];
        for (int Cx = X0 / 2; Cx <= (X0 + W - 1) / 2; ++Cx) {
            int N = 0, A = 0, Su = 0, Sv = 0;
            for (int Y = 2 * Cy; Y < 2 * Cy + 2; ++Y)
                for (int X = 2 * Cx; X < 2 * Cx + 2; ++X) {
                    if (X < X0 || X >= X0 + W || Y < Y0 || Y >= Y0 + H) continue;
                    uint32_t C = Entry(X, Y);
                    ++N;
                    A += AOf(C);
                    Su += UOf(C);
                    Sv += VOf(C);
                }
            if (N == 0) continue;
            // N = 4: shift 2 (divisor 1020); N = 2: shift 1 (510); N = 1: shift 0 (255).
            const int Shift = N == 4 ? 2 : N == 2 ? 1 : 0;
            const int Alpha = A >> 2;
            auto Blend = [&](uint8_t& Old, int Sum) {
                Old = uint8_t((((Old << Shift) * (255 - Alpha)) + Sum * Alpha) / (255 << Shift));
            };
            Blend(URow[Cx], Su);
            Blend(VRow[Cx], Sv);
        }
    }
}

// ---------------------------------------------------------------------------------
// The surface and the picture

SDL_Surface* SetVideoMode(int AWidth, int AHeight, uint32_t AFlags)
{
    SDL_Surface* Screen = AV.SDL_SetVideoMode(AWidth, AHeight, 0, AFlags);
    // Overlays need a surface of 16 bits or more; a display of fewer (SDL's dummy
    // driver has 8) gets a 32-bit surface.
    if (Screen && Screen->format->BitsPerPixel < 16) Screen = AV.SDL_SetVideoMode(AWidth, AHeight, 32, AFlags);
    return Screen;
}

int OpenVideoSurface(TVideoState* VS, bool AForce)
{
    TCustomPlayer* P = VS->Owner;
    int W, H;
    uint32_t Flags;
    if (P->Fis_full_screen && P->Ffs_screen_width > 0) {
        W = P->Ffs_screen_width;
        H = P->Ffs_screen_height;
        Flags = VIDEO_MODE_FULLSCREEN;
    } else if (!P->Fis_full_screen && P->Fscreen_width > 0) {
        W = P->Fscreen_width;
        H = P->Fscreen_height;
        Flags = VIDEO_MODE_WINDOWED;
    } else if (VS->sink_width > 0 && VS->sink_height > 0) {
        W = VS->sink_width & ~1;
        H = VS->sink_height & ~1;
        Flags = P->Fis_full_screen ? VIDEO_MODE_FULLSCREEN : VIDEO_MODE_WINDOWED;
    } else {
        W = 640;
        H = 480;
        Flags = P->Fis_full_screen ? VIDEO_MODE_FULLSCREEN : VIDEO_MODE_WINDOWED;
    }
    if (!AForce && P->Fscreen && VS->width == P->Fscreen->w && VS->height == P->Fscreen->h && W == VS->width &&
        H == VS->height)
        return 0;
    SDL_Surface* Screen = SetVideoMode(W, H, Flags);
    if (!Screen) {
        P->SetErrorMessage("SDL: could not set video mode.", false);
        return -1;
    }
    P->Fscreen = Screen;
    if (!P->FScreenHandle) {
        // a player without a host window opens its own SDL window, captioned with the program's title
        const String Caption = Application ? Application->Title() : String();
        AV.SDL_WM_SetCaption(Caption.c_str(), Caption.c_str());
    }
    VS->width = Screen->w;
    VS->height = Screen->h;
    return 0;
}

namespace {

void FillRect(SDL_Surface* AScreen, int X, int Y, int W, int H, uint32_t AColor)
{
    SDL_Rect R;
    R.x = Sint16(X);
    R.y = Sint16(Y);
    R.w = Uint16(std::max(W, 0));
    R.h = Uint16(std::max(H, 0));
    AV.SDL_FillRect(AScreen, &R, AColor);
}

// Paints the video area outside the picture at APlace (relative to the area; an empty
// place clears all of it) in the background colour, once for each place: the window
// keeps whatever was drawn there before, a picture of another shape or the file before.
void ClearAroundPicture(TVideoState* VS, const TDisplayRect& APlace)
{
    SDL_Surface* Screen = VS->Owner->Fscreen;
    if (!Screen) return;
    const TDisplayRect& Last = VS->bars_around;
    if (VS->bars_cleared && Last.X == APlace.X && Last.Y == APlace.Y && Last.W == APlace.W && Last.H == APlace.H)
        return;
    VS->bars_cleared = true;
    VS->bars_around = APlace;
    const uint32_t Black = AV.SDL_MapRGB(Screen->format, 0, 0, 0);
    const int L = VS->xleft, T = VS->ytop, W = VS->width, H = VS->height;
    auto Clear = [&](int X, int Y, int CW, int CH) {
        if (CW <= 0 || CH <= 0) return;
        FillRect(Screen, X, Y, CW, CH, Black);
        AV.SDL_UpdateRect(Screen, X, Y, uint32_t(CW), uint32_t(CH));
    };
    if (APlace.W <= 0 || APlace.H <= 0) {
        Clear(L, T, W, H);
        return;
    }
    Clear(L, T, W, APlace.Y);                                                      // above
    Clear(L, T + APlace.Y + APlace.H, W, H - APlace.Y - APlace.H);                 // below
    Clear(L, T + APlace.Y, APlace.X, APlace.H);                                    // left
    Clear(L + APlace.X + APlace.W, T + APlace.Y, W - APlace.X - APlace.W, APlace.H);  // right
}

void DisplayVideoImage(TVideoState* VS)
{
    TCustomPlayer* P = VS->Owner;
    TVideoPicture* Vp = &VS->pictq[ShownSlot(VS)];
    if (!Vp->bmp) return;
    AVRational Sar = Vp->picref ? Vp->picref->sample_aspect_ratio : AVRational{0, 1};
    double Aspect = DisplayAspect(P->FAspectRatio, VS->width, VS->height, Sar, Vp->width, Vp->height);
    if (VS->subtitle_st && VS->subpq_size > 0) {
        const TSubPicture& Sp = VS->subpq[VS->subpq_rindex];
        if (Vp->pts >= Sp.pts + double(Sp.sub.start_display_time) / 1000) {
            SDL_Overlay* Bmp = Vp->bmp;
            AV.SDL_LockYUVOverlay(Bmp);
            TYUVPicture Pict{{Bmp->pixels[0], Bmp->pixels[2], Bmp->pixels[1]},
                             {Bmp->pitches[0], Bmp->pitches[2], Bmp->pitches[1]}};
            for (unsigned I = 0; I < Sp.sub.num_rects; ++I)
                BlendSubtitleRect(Pict, *Sp.sub.rects[I], Bmp->w, Bmp->h);
            AV.SDL_UnlockYUVOverlay(Bmp);
        }
    }
    TDisplayRect R = CalculateDisplayRect(VS->width, VS->height, Aspect);
    ClearAroundPicture(VS, R);
    SDL_Rect Rect;
    Rect.x = Sint16(VS->xleft + R.X);
    Rect.y = Sint16(VS->ytop + R.Y);
    Rect.w = Uint16(R.W);
    Rect.h = Uint16(R.H);
    AV.SDL_DisplayYUVOverlay(Vp->bmp, &Rect);
}

int Mod(int A, int B)
{
    A %= B;
    return A < 0 ? A + B : A;
}

void DisplayAudioWave(TVideoState* VS)
{
    TCustomPlayer* P = VS->Owner;
    SDL_Surface* Screen = P->Fscreen;
    if (!Screen) return;
    const int Channels = std::max(VS->audio_channels.load(), 1);
    int RdftBits = 1;
    while ((1 << RdftBits) < 2 * VS->height) ++RdftBits;
    const int NbFreq = 1 << (RdftBits - 1);
    int Index;
    {
        std::lock_guard<std::mutex> Guard(VS->sample_lock);
        VS->sample_view.assign(VS->sample_array, VS->sample_array + SAMPLE_ARRAY_SIZE);
        Index = VS->sample_array_index;
    }
    const int16_t* Samples = VS->sample_view.data();
    int Start;
    if (VS->paused) {
        Start = VS->last_i_start;
    } else {
        const int DataUsed = VS->show_audio == 1 ? VS->width : 2 * NbFreq;
        int Delay = (VS->audio_buf_size - VS->audio_buf_index) / (2 * Channels);
        const int64_t CallbackTime = P->Faudio_callback_time;
        if (CallbackTime) {
            int64_t Elapsed = AV.av_gettime() - CallbackTime;
            Delay -= int(int64_t(VS->audio_freq) * Elapsed / 1000000);
        }
        Delay += 2 * DataUsed;
        if (Delay < DataUsed) Delay = DataUsed;
        Start = Mod(Index - Delay * Channels, SAMPLE_ARRAY_SIZE);
        if (VS->show_audio == 1) Start = WaveStartIndex(Samples, Start, Channels);
        VS->last_i_start = Start;
    }
    const uint32_t White = AV.SDL_MapRGB(Screen->format, 0xFF, 0xFF, 0xFF);
    if (VS->show_audio == 1) {
        FillRect(Screen, VS->xleft, VS->ytop, VS->width, VS->height, AV.SDL_MapRGB(Screen->format, 0, 0, 0));
        const int H = VS->height / Channels;
        const int H2 = (H * 9) / 20;
        for (int Ch = 0; Ch < Channels; ++Ch) {
            int I = Start + Ch;
            const int Centre = VS->ytop + Ch * H + H / 2;
            for (int X = 0; X < VS->width; ++X) {
                int Y = (Samples[I] * H2) >> 15;
                if (Y < 0)
                    FillRect(Screen, VS->xleft + X, Centre + Y, 1, -Y, White);
                else
                    FillRect(Screen, VS->xleft + X, Centre, 1, Y, White);
                I += Channels;
                if (I >= SAMPLE_ARRAY_SIZE) I -= SAMPLE_ARRAY_SIZE;
            }
        }
        for (int Ch = 1; Ch < Channels; ++Ch) FillRect(Screen, VS->xleft, VS->ytop + Ch * H, VS->width, 1, White);
        AV.SDL_UpdateRect(Screen, VS->xleft, VS->ytop, uint32_t(VS->width), uint32_t(VS->height));
        return;
    }
    // Spectrum: one column per refresh.
    const int Shown = std::min(Channels, 2);
    if (RdftBits != VS->rdft_bits) {
        if (VS->rdft) AV.av_rdft_end(VS->rdft);
        AV.av_free(VS->rdft_data);
        VS->rdft = AV.av_rdft_init(RdftBits, DFT_R2C);
        VS->rdft_bits = RdftBits;
        VS->rdft_data = static_cast<FFTSample*>(AV.av_malloc(sizeof(FFTSample) * 4 * NbFreq));
    }
    if (!VS->rdft || !VS->rdft_data) return;
    FFTSample* Data[2] = {VS->rdft_data, VS->rdft_data + 2 * NbFreq};
    for (int Ch = 0; Ch < Shown; ++Ch) {
        int I = Start + Ch;
        for (int K = 0; K < 2 * NbFreq; ++K) {
            double W = double(K - NbFreq) / NbFreq;
            Data[Ch][K] = FFTSample(Samples[I] * (1.0 - W * W));
            I += Channels;
            if (I >= SAMPLE_ARRAY_SIZE) I -= SAMPLE_ARRAY_SIZE;
        }
        AV.av_rdft_calc(VS->rdft, Data[Ch]);
    }
    for (int Y = 0; Y < VS->height; ++Y) {
        const double Scale = 1.0 / std::sqrt(double(NbFreq));
        auto Level = [&](const FFTSample* D) {
            double Re = D[2 * Y], Im = D[2 * Y + 1];
            return std::min(int(Round(std::sqrt(Scale * std::sqrt(Re * Re + Im * Im)))), 255);
        };
        int A = Level(Data[0]);
        int B = Shown == 2 ? Level(Data[1]) : A;
        // The area's rows run from ytop to ytop + height - 1, lowest frequency at the bottom.
        FillRect(Screen, VS->xpos, VS->ytop + VS->height - 1 - Y, 1, 1,
                 AV.SDL_MapRGB(Screen->format, uint8_t(A), uint8_t(B), uint8_t((A + B) / 2)));
    }
    AV.SDL_UpdateRect(Screen, VS->xpos, VS->ytop, 1, uint32_t(VS->height));
    if (++VS->xpos >= VS->xleft + VS->width) VS->xpos = VS->xleft;
}

}  // namespace

int WaveStartIndex(const int16_t* ASamples, int AStart, int AChannels)
{
    int Best = AStart;
    int BestScore = -1000000;
    auto At = [&](int Index) { return ASamples[Mod(Index, SAMPLE_ARRAY_SIZE)]; };
    for (int I = 0; I < 1000; I += AChannels) {
        int Idx = Mod(AStart - I, SAMPLE_ARRAY_SIZE);
        const int E = At(Idx + 4 * AChannels), F = At(Idx + 5 * AChannels);
        const int Score = At(Idx) - At(Idx + 9 * AChannels);
        if (BestScore < Score && (E ^ F) < 0) {
            BestScore = Score;
            Best = Idx;
        }
    }
    return Best;
}

void DisplayVideo(TVideoState* VS)
{
    TCustomPlayer* P = VS->Owner;
    if (!P->Fscreen && OpenVideoSurface(VS, false) < 0) return;
    if (VS->audio_st && VS->show_audio)
        DisplayAudioWave(VS);
    else if (VS->video_st)
        DisplayVideoImage(VS);
    else
        ClearAroundPicture(VS, TDisplayRect{});  // sound alone, nothing shown: an empty area
}
