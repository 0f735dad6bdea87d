// Compression streams: round trips, the zlib framing, seeks and corrupt input.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "skin/core/bszlibcompress.h"

namespace {

std::vector<uint8_t> Bytes(TMemoryStream& S)
{
    const uint8_t* p = static_cast<const uint8_t*>(S.Memory());
    return std::vector<uint8_t>(p, p + S.Size());
}

void Fill(TMemoryStream& S, const std::vector<uint8_t>& Data)
{
    S.Clear();
    if (!Data.empty()) S.WriteBuffer(Data.data(), int64_t(Data.size()));
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& Data)
{
    TMemoryStream src, dst;
    Fill(src, Data);
    ZCompressMemoryStream(&src, &dst);
    return Bytes(dst);
}

std::vector<uint8_t> Decompress(const std::vector<uint8_t>& Packed)
{
    TMemoryStream src, dst;
    Fill(src, Packed);
    ZDecompressStream(&dst, &src);
    return Bytes(dst);
}

std::vector<uint8_t> Counting(size_t N)
{
    std::vector<uint8_t> v(N);
    for (size_t i = 0; i < N; ++i) v[i] = uint8_t(i * 7 + i / 251);
    return v;
}

}  // namespace

TEST(ZlibStreams, RoundTripsKeepTheBytes)
{
    std::mt19937 rng(5);
    std::vector<uint8_t> random(1 << 20);
    for (auto& b : random) b = uint8_t(rng());
    const std::vector<std::vector<uint8_t>> cases = {
        {}, {42}, random, std::vector<uint8_t>(300000, 'a'), Counting(20000)};
    for (const auto& data : cases) {
        std::vector<uint8_t> packed = Compress(data);
        ASSERT_GE(packed.size(), 6u);
        EXPECT_EQ(packed[0], 0x78);
        EXPECT_EQ(packed[1], 0xDA);  // highest level
        EXPECT_EQ(Decompress(packed), data) << "size " << data.size();
    }
}

TEST(ZlibStreams, CompressionStreamOnlyWritesAndReportsItsInput)
{
    TMemoryStream dst;
    TCompressionStream zs(TCompressionLevel::clDefault, &dst);
    const char text[] = "hello hello hello hello";
    EXPECT_EQ(zs.Write(text, 10), 10);
    EXPECT_EQ(zs.Seek(0, soCurrent), 10);
    EXPECT_THROW(zs.Seek(0, soBeginning), ECompressionError);
    EXPECT_THROW(zs.Seek(1, soCurrent), ECompressionError);
    char c;
    EXPECT_THROW(zs.Read(&c, 1), ECompressionError);
    zs.Write(text + 10, 13);
    zs.Finish();
    EXPECT_GT(zs.CompressionRate(), -100.0f);
    EXPECT_EQ(Decompress(Bytes(dst)), std::vector<uint8_t>(text, text + 23));
}

TEST(ZlibStreams, EmptyCompressionGivesAValidStream)
{
    TMemoryStream dst;
    {
        TCompressionStream zs(TCompressionLevel::clMax, &dst);
        EXPECT_EQ(zs.CompressionRate(), 0.0f);
    }  // the destructor finishes the data
    EXPECT_TRUE(Decompress(Bytes(dst)).empty());
}

TEST(ZlibStreams, ProgressAfterEachBlock)
{
    std::mt19937 rng(1);
    std::vector<uint8_t> data(100000);
    for (auto& b : data) b = uint8_t(rng());
    TMemoryStream dst;
    int blocks = 0;
    TCompressionStream zs(TCompressionLevel::clNone, &dst);
    zs.OnProgress = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &zs);
        ++blocks;
    };
    zs.Write(data.data(), int64_t(data.size()));
    EXPECT_EQ(blocks, int(dst.Size() / 8192));
    EXPECT_GE(blocks, 10);
}

TEST(ZlibStreams, DecompressionSeeks)
{
    const std::vector<uint8_t> data = Counting(40000);
    TMemoryStream src;
    Fill(src, Compress(data));
    src.SetPosition(0);
    TDecompressionStream zs(&src);
    uint8_t buf[16];
    ASSERT_EQ(zs.Read(buf, 4), 4);
    EXPECT_EQ(zs.Seek(10, soBeginning), 10);  // skips 6
    ASSERT_EQ(zs.Read(buf, 1), 1);
    EXPECT_EQ(buf[0], data[10]);
    EXPECT_THROW(zs.Seek(2, soBeginning), EDecompressionError);
    EXPECT_THROW(zs.Seek(0, soEnd), EDecompressionError);
    EXPECT_THROW(zs.Seek(-1, soCurrent), EDecompressionError);
    EXPECT_EQ(zs.Seek(100, soCurrent), 111);
    ASSERT_EQ(zs.Read(buf, 1), 1);
    EXPECT_EQ(buf[0], data[111]);
    // only forwards from the beginning: where it stands already is refused like any other
    EXPECT_THROW(zs.Seek(112, soBeginning), EDecompressionError);
    EXPECT_EQ(zs.Seek(113, soBeginning), 113);
    EXPECT_EQ(zs.Seek(0, soBeginning), 0);      // rewind
    ASSERT_EQ(zs.Read(buf, 16), 16);
    EXPECT_EQ(0, std::memcmp(buf, data.data(), 16));
    uint8_t c;
    EXPECT_THROW(zs.Write(&c, 1), EDecompressionError);
}

TEST(ZlibStreams, TrailingBytesAreNotDelivered)
{
    std::vector<uint8_t> packed = Compress({1, 2, 3});
    packed.insert(packed.end(), {9, 9, 9, 9});
    EXPECT_EQ(Decompress(packed), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(ZlibStreams, BadInputRaisesDecompressionErrors)
{
    const std::vector<uint8_t> good = Compress(Counting(5000));
    std::vector<uint8_t> badHeader = good;
    badHeader[0] = 0x12;
    std::vector<uint8_t> badBody = good;
    for (size_t i = 2; i < badBody.size() - 4; i += 3) badBody[i] ^= 0x5A;
    std::vector<uint8_t> badChecksum = good;
    badChecksum.back() ^= 1;
    const std::vector<std::vector<uint8_t>> cases = {
        {},                                              // nothing at all
        std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2),  // cut short
        std::vector<uint8_t>(good.begin(), good.end() - 1),                  // checksum cut
        badHeader, badBody, badChecksum};
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_THROW(Decompress(cases[i]), EDecompressionError) << "case " << i;
        try {
            Decompress(cases[i]);
        } catch (const EDecompressionError& e) {
            EXPECT_EQ(e.Message(), "compression error");
        }
    }
}

TEST(ZlibStreams, PositionGuardSurvivesSharedStreams)
{
    // Another user moves the destination between writes; the zlib data stays whole.
    TMemoryStream dst;
    const std::vector<uint8_t> data = Counting(50000);
    {
        TCompressionStream zs(TCompressionLevel::clFastest, &dst);
        for (size_t off = 0; off < data.size(); off += 5000) {
            zs.Write(data.data() + off, 5000);
            dst.SetPosition(0);
        }
        zs.Finish();
    }
    EXPECT_EQ(Decompress(Bytes(dst)), data);
}
