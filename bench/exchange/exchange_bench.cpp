// The vCard codec and the QR code in-process: reading a file of 20,000 cards
// (streamed, one card held at a time), writing the sample card, its QR code.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "card/card_file.h"
#include "exchange/qr_code.h"
#include "exchange/vcard.h"

namespace ovlet::exchange {
namespace {

// The sample card's text; its picture is left out, as the QR code leaves it
// out and as it would swamp the vCard file of 20,000 cards.
card::CardRecord Sample() {
    card::CardRecord r;
    card::RecordOnlySide side(r);
    card::CardReadOptions options;
    options.readPicture = false;
    if (!card::ReadCardFile(OVLET_SAMPLES_DIR "/sample.ovt", r, side, options)) {
        std::fprintf(stderr, "cannot read the sample card\n");
        std::exit(1);
    }
    return r;
}

void BM_ReadTwentyThousandCards(benchmark::State& state) {
    const std::string one = vcard::EncodeVCard(Sample());
    std::string file;
    for (int i = 0; i < 20000; ++i) file += one;
    for (auto _ : state) {
        std::size_t fields = 0;
        vcard::ReadVCards(file, [&](vcard::ImportedCard&& card) {
            fields += card.record.LastName.size();
            return true;
        });
        benchmark::DoNotOptimize(fields);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_ReadTwentyThousandCards)->Unit(benchmark::kMillisecond);

void BM_ReadUnknownLines(benchmark::State& state) {
    // 16 MiB of properties without a field, in cards of 5,000 lines.
    std::string file;
    while (file.size() < (16u << 20)) {
        file += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
        for (int i = 0; i < 4998; ++i) file += "X-UNKNOWN-PROPERTY:value\r\n";
        file += "END:VCARD\r\n";
    }
    for (auto _ : state) {
        std::size_t reports = 0;
        vcard::ReadVCards(file, [&](vcard::ImportedCard&& card) {
            reports += card.unmapped.size() + card.issuesNotKept;
            return true;
        });
        benchmark::DoNotOptimize(reports);
    }
}
BENCHMARK(BM_ReadUnknownLines)->Unit(benchmark::kMillisecond);

void BM_WriteSample(benchmark::State& state) {
    const card::CardRecord card = Sample();
    for (auto _ : state) benchmark::DoNotOptimize(vcard::EncodeVCard(card));
}
BENCHMARK(BM_WriteSample);

void BM_QrSample(benchmark::State& state) {
    const card::CardRecord card = Sample();
    for (auto _ : state) {
        benchmark::DoNotOptimize(qr::EncodeCard(card));
    }
}
BENCHMARK(BM_QrSample)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ovlet::exchange

BENCHMARK_MAIN();
