// Reading and writing a large card (a 5 MB picture, 64 KB in each multi-line
// field) against a plain read() of the same file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <random>

#include "card/card_file.h"
#include "tests/support/test_files.h"

namespace ovlet::card {
namespace {

struct LargeCard {
    test_support::TempFolder dir;
    std::string path = (dir / "large.ovt").string();
    std::size_t size = 0;
    CardRecord record;

    LargeCard() {
        std::mt19937 rng(7);
        std::vector<std::uint8_t> picture(5 * 1024 * 1024);
        for (auto& b : picture) b = static_cast<std::uint8_t>(rng());
        record.SetPicture(std::move(picture));
        record.StreetAddress.assign(64 * 1024, 'a');
        record.GeneralInformation.assign(64 * 1024, 'g');
        for (const auto& field : kCardFields) {
            if (!field.multiLine) record.*field.member = std::string(static_cast<std::size_t>(field.limit), 'x');
        }
        RecordOnlySide side(record);
        static_cast<void>(WriteCardFile(path, record, side));
        size = std::filesystem::file_size(path);
    }
};

LargeCard& Card() {
    static LargeCard card;
    return card;
}

void BM_PlainRead(benchmark::State& state) {
    std::vector<char> buffer(Card().size);
    for (auto _ : state) {
        const int fd = ::open(Card().path.c_str(), O_RDONLY);
        std::size_t done = 0;
        while (done < buffer.size()) {
            // At most INT_MAX bytes a call, as Linux reads them; the count is
            // an unsigned int on Windows.
            const auto want = static_cast<unsigned>(std::min<std::size_t>(buffer.size() - done, INT_MAX));
            const ssize_t n = ::read(fd, buffer.data() + done, want);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Card().size));
}
BENCHMARK(BM_PlainRead);

void BM_ReadCardFile(benchmark::State& state) {
    for (auto _ : state) {
        CardRecord record;
        RecordOnlySide side(record);
        static_cast<void>(ReadCardFile(Card().path, record, side));
        benchmark::DoNotOptimize(record.PictureBytes.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Card().size));
}
BENCHMARK(BM_ReadCardFile);

// What show, qr and export --no-photo read: the text, with the picture counted, not read.
void BM_ReadCardFileWithoutPicture(benchmark::State& state) {
    CardReadOptions options;
    options.readPicture = false;
    for (auto _ : state) {
        CardRecord record;
        RecordOnlySide side(record);
        benchmark::DoNotOptimize(ReadCardFile(Card().path, record, side, options)->pictureLength);
    }
}
BENCHMARK(BM_ReadCardFileWithoutPicture);

// Includes the flush to disk that makes a save safe, so it is shown apart.
void BM_WriteCardFile(benchmark::State& state) {
    const std::string out = (Card().dir / "written.ovt").string();
    RecordOnlySide side(Card().record);
    for (auto _ : state) {
        static_cast<void>(WriteCardFile(out, Card().record, side));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Card().size));
}
BENCHMARK(BM_WriteCardFile)->Unit(benchmark::kMillisecond);

// A batch's write: the disk is waited for once at the end, not for each card.
void BM_WriteCardFileInABatch(benchmark::State& state) {
    const std::string out = (Card().dir / "batch.ovt").string();
    RecordOnlySide side(Card().record);
    files::WriteOptions options;
    options.durability = files::Durability::Later;
    for (auto _ : state) {
        static_cast<void>(WriteCardFile(out, Card().record, side, options));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Card().size));
}
BENCHMARK(BM_WriteCardFileInABatch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ovlet::card

BENCHMARK_MAIN();
