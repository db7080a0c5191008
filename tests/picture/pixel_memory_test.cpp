// Spare pixel blocks: which spare a request gets, what the list keeps and
// gives back, that blocks are reused for real and never handed to two owners
// at once, and that a picture decoded into a used block comes out the same
// as one decoded into fresh memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/pixel_memory.h"
#include "tests/picture/picture_test_support.h"

namespace ovlet::picture {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

// Blocks of the policy tests are never touched: their addresses only tell
// them apart.
std::uint8_t gAddresses[16];
pixel_memory::Mapped Fake(int id, std::size_t size) {
    return {gAddresses + id, size};
}

std::vector<std::size_t> SizesOf(const pixel_memory::Surplus& surplus) {
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < surplus.count; ++i) sizes.push_back(surplus.blocks[i].size / kMiB);
    return sizes;
}

TEST(SpareBlocks, TakeGivesTheSmallestSpareUpToTwiceTheRequest) {
    struct Case {
        const char* name;
        std::vector<std::size_t> spares;  // MiB, kept in this order
        std::size_t request;              // bytes
        std::size_t want;                 // MiB taken, 0 for none
    };
    const Case kCases[] = {
        {"none kept", {}, 48 * kMiB, 0},
        {"the same size", {48}, 48 * kMiB, 48},
        {"exactly twice the request", {48}, 24 * kMiB, 48},
        {"a byte more than twice", {48}, 24 * kMiB - 1, 0},
        {"a byte too small", {48}, 48 * kMiB + 1, 0},
        {"the smallest that fits", {60, 30, 25, 10}, 24 * kMiB, 25},
        {"the smallest of several that fit", {90, 20, 13}, 12 * kMiB, 13},
        {"an empty request takes nothing", {4}, 0, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        pixel_memory::SpareBlocks spares;
        int id = 0;
        for (std::size_t size : c.spares) EXPECT_EQ(spares.Keep(Fake(id++, size * kMiB)).count, 0u);
        const pixel_memory::Mapped taken = spares.Take(c.request);
        EXPECT_EQ(taken.size / kMiB, c.want);
        if (c.want == 0) {
            EXPECT_EQ(taken.data, nullptr);
            EXPECT_EQ(spares.Count(), c.spares.size());
            continue;
        }
        // The very block kept with that size leaves the list, and only it.
        const auto index = std::find(c.spares.begin(), c.spares.end(), c.want) - c.spares.begin();
        EXPECT_EQ(taken.data, gAddresses + index);
        EXPECT_EQ(spares.Count(), c.spares.size() - 1);
        std::size_t total = 0;
        for (std::size_t size : c.spares) total += size;
        EXPECT_EQ(spares.Bytes(), (total - c.want) * kMiB);
    }
}

TEST(SpareBlocks, KeepRespectsTheCountAndTheBytesOldestOut) {
    struct Case {
        const char* name;
        std::vector<std::size_t> kept;       // MiB, in this order
        std::vector<std::size_t> givenBack;  // MiB, by every Keep together, in order
        std::vector<std::size_t> left;       // MiB, oldest first
    };
    const Case kCases[] = {
        {"four fit", {10, 11, 12, 13}, {}, {10, 11, 12, 13}},
        {"a fifth pushes out the oldest", {10, 11, 12, 13, 14}, {10}, {11, 12, 13, 14}},
        {"exactly the byte limit", {64, 64}, {}, {64, 64}},
        {"over the byte limit", {100, 40}, {100}, {40}},
        {"several go for one large", {30, 30, 30, 30, 120}, {30, 30, 30, 30}, {120}},
        {"the limit alone is kept", {128}, {}, {128}},
        {"larger than the limit goes back at once", {10, 129}, {129}, {10}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        pixel_memory::SpareBlocks spares;
        std::vector<std::size_t> givenBack;
        int id = 0;
        for (std::size_t size : c.kept) {
            const std::vector<std::size_t> back = SizesOf(spares.Keep(Fake(id++, size * kMiB)));
            givenBack.insert(givenBack.end(), back.begin(), back.end());
            EXPECT_LE(spares.Count(), pixel_memory::kMaxSpares);
            EXPECT_LE(spares.Bytes(), pixel_memory::kMaxSpareBytes);
        }
        EXPECT_EQ(givenBack, c.givenBack);
        EXPECT_EQ(SizesOf(spares.TakeAll()), c.left);
        EXPECT_EQ(spares.Count(), 0u);
        EXPECT_EQ(spares.Bytes(), 0u);
        EXPECT_EQ(spares.Take(1).data, nullptr);
    }
    pixel_memory::SpareBlocks spares;
    EXPECT_EQ(spares.Keep({}).count, 0u);
    EXPECT_EQ(spares.Count(), 0u);
}

TEST(PixelBlock, LargeBlocksAreReusedAndReleased) {
    PixelBlock::ReleaseSpares();
    std::uint8_t* first = nullptr;
    {
        PixelBlock block(8 * kMiB);
        first = block.get();
        std::memset(first, 0x5A, 8 * kMiB);
    }
    EXPECT_EQ(PixelBlock::SpareCount(), 1u);
    {
        PixelBlock smaller(5 * kMiB);
        EXPECT_EQ(smaller.get(), first);
        EXPECT_EQ(PixelBlock::SpareCount(), 0u);
        // A heap block is never a spare, and a moved block is freed once.
        PixelBlock heap(kMiB);
        PixelBlock moved(std::move(smaller));
        moved = std::move(heap);
    }
    EXPECT_EQ(PixelBlock::SpareCount(), 1u);
    {
        PixelBlock tooSmall(3 * kMiB, kMiB);  // less than half the spare
        EXPECT_NE(tooSmall.get(), first);
    }
    EXPECT_EQ(PixelBlock::SpareCount(), 2u);
    PixelBlock::ReleaseSpares();
    EXPECT_EQ(PixelBlock::SpareCount(), 0u);
    EXPECT_EQ(PixelBlock::SpareBytes(), 0u);
}

TEST(PixelBlock, ThreadsNeverShareABlock) {
    PixelBlock::ReleaseSpares();
    std::atomic<int> clashes{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &clashes] {
            for (int i = 0; i < 12; ++i) {
                const std::size_t size = (4 + static_cast<std::size_t>((t + i) % 3)) * kMiB;
                PixelBlock block(size);
                const auto mark = static_cast<std::uint8_t>(t * 16 + i);
                block.get()[0] = mark;
                block.get()[size - 1] = mark;
                std::this_thread::yield();
                if (block.get()[0] != mark || block.get()[size - 1] != mark) ++clashes;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(clashes.load(), 0);
    EXPECT_LE(PixelBlock::SpareCount(), pixel_memory::kMaxSpares);
    PixelBlock::ReleaseSpares();
}

TEST(FileSource, LargeFileBytesBecomeASpare) {
    test_support::TempFolder folder;
    Bytes bytes(CFileSource::kSpareMinimum + 12345);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    test_support::WriteFileBytes(folder / "large.bin", bytes);
    PixelBlock::ReleaseSpares();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        CFileSource source;
        ASSERT_EQ(source.OpenFile((folder / "large.bin").string().c_str()), 0);
        ASSERT_EQ(source.GetSize(), static_cast<std::int32_t>(bytes.size()));
        EXPECT_EQ(std::memcmp(source.GetReadPointer(), bytes.data(), bytes.size()), 0);
        EXPECT_EQ(PixelBlock::SpareCount(), 0u);  // the second round took the first's block
        source.Close();
        EXPECT_EQ(PixelBlock::SpareCount(), 1u);
    }
    PixelBlock::ReleaseSpares();
}

// Decoders must write every pixel: one that left some to the zeros of fresh
// memory would show an earlier picture's pixels through a reused block.
TEST(PixelBlock, UsedBlocksDecodeLikeFreshOnes) {
    constexpr int kWidth = 1100, kHeight = 1000;  // 4.4 MB at 32 bits: a mapped block
    Bytes rgb(std::size_t{kWidth} * kHeight * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<std::uint8_t>((i / 3 % kWidth) ^ (i / 3 / kWidth));
    const Bytes baseline = test_support::EncodeJpeg(test_support::JpegKind::YCbCr, kWidth, kHeight, rgb, 90);
    const Bytes progressive = test_support::EncodeJpeg(test_support::JpegKind::YCbCr, kWidth, kHeight, rgb, 90, true);
    struct Case {
        const char* name;
        Bytes data;
    };
    const Case kCases[] = {
        {"whole JPEG", baseline},
        {"JPEG cut in its data",
         Bytes(baseline.begin(), baseline.begin() + static_cast<std::ptrdiff_t>(baseline.size() / 3))},
        {"progressive JPEG cut",
         Bytes(progressive.begin(), progressive.begin() + static_cast<std::ptrdiff_t>(progressive.size() / 3))},
    };
    CAnyPicDecoder decoder;
    const std::size_t lineBytes = std::size_t{kWidth} * 4;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        PixelBlock::ReleaseSpares();
        CWinBmp fresh;
        DecodeBytes(decoder, c.data, fresh, 32);
        ASSERT_EQ(fresh.GetWidth(), kWidth);
        ASSERT_EQ(fresh.GetHeight(), kHeight);
        {
            PixelBlock dirty(fresh.GetStorageSize());
            std::memset(dirty.get(), 0xA5, fresh.GetStorageSize());
        }
        ASSERT_EQ(PixelBlock::SpareCount(), 1u);
        CWinBmp reused;
        DecodeBytes(decoder, c.data, reused, 32);
        EXPECT_EQ(PixelBlock::SpareCount(), 0u);  // the dirty block was taken
        int differing = 0;
        for (int y = 0; y < kHeight; ++y) {
            differing += std::memcmp(fresh.GetLineTable()[y], reused.GetLineTable()[y], lineBytes) != 0;
        }
        EXPECT_EQ(differing, 0);
    }
    PixelBlock::ReleaseSpares();
}

}  // namespace
}  // namespace ovlet::picture
