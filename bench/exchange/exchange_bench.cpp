// The vCard codec and the QR code in-process: reading a file of 20,000 cards
// (streamed, one card held at a time), writing the sample card, its QR code.
#include <benchmark/benchmark.h>

#include <string>

#include "exchange/qr_code.h"
#include "exchange/vcard.h"

namespace {

CardRecord Sample() {
    CardRecord r;
    r.Company = "Harbour Light Instruments";
    r.StreetAddress = "Unit 4, Quayside Works\r\n12 Ropewalk Lane";
    r.City = "Portsmouth";
    r.Country = "United Kingdom";
    r.FirstName =
        "Ren\xE9"
        "e";
    r.LastName = "Okafor";
    r.JobTitle = "Lead Engineer";
    r.EMail = "renee.okafor@harbourlight.example";
    r.Phone1Description = "Office";
    r.Phone1Number = "+44 23 9200 0100";
    r.GeneralInformation = "We design and build depth sounders, tide gauges and water-quality probes.";
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
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
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
    const CardRecord card = Sample();
    for (auto _ : state) benchmark::DoNotOptimize(vcard::EncodeVCard(card));
}
BENCHMARK(BM_WriteSample);

void BM_QrSample(benchmark::State& state) {
    const CardRecord card = Sample();
    for (auto _ : state) {
        qr::CardCode code;
        std::string error;
        benchmark::DoNotOptimize(qr::EncodeCard(card, code, error));
    }
}
BENCHMARK(BM_QrSample)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
