#include "tests/picture/picture_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "picture/data_source.h"

namespace ovlet::picture {

void DecodeBytes(CPicDecoder& decoder, const Bytes& bytes, CWinBmp& bitmap, int depth) {
    CDataSource source;
    source.OpenData("memory", bytes.data(), static_cast<std::int32_t>(bytes.size()));
    decoder.DecodeSource(&source, &bitmap, depth);
}

void ExpectRefusal(CPicDecoder& decoder, const Refusal& refusal, CWinBmp& bitmap) {
    const Failure failure = CatchFailure([&] { DecodeBytes(decoder, refusal.data, bitmap, 32); });
    EXPECT_EQ(failure.code, refusal.code);
    if (refusal.text) {
        EXPECT_EQ(failure.text, refusal.text);
    }
}

Bgra PixelAt(const CWinBmp& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.GetLineTable()[y] + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

std::filesystem::path CorpusPath(const std::string& relative) {
    return std::filesystem::path(OVLET_CORPUS_DIR) / relative;
}

std::vector<ManifestEntry> ReadManifest() {
    std::ifstream in(CorpusPath("MANIFEST.tsv"));
    if (!in) {
        // A missing corpus must fail the run, never leave the tables empty.
        throw std::runtime_error("cannot read the corpus manifest " + CorpusPath("MANIFEST.tsv").string());
    }
    std::vector<ManifestEntry> entries;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, '\t')) {
            fields.push_back(field);
        }
        if (fields.size() < 5) {
            continue;
        }
        ManifestEntry entry;
        entry.path = fields[0];
        entry.format = fields[1];
        entry.expected = fields[2];
        entry.width = fields[3] == "-" ? -1 : std::stol(fields[3]);
        entry.height = fields[4] == "-" ? -1 : std::stol(fields[4]);
        entry.notes = fields.size() > 7 ? fields[7] : "";
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace ovlet::picture
