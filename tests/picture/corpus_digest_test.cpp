// Every picture of the corpus decodes to the same pixels on every system:
// the digest of each 32-bit decode (or the error it gives) is compared with
// the list in tests/data/corpus/pixel_digests.tsv, made by the Linux build
// (OVLET_WRITE_PIXEL_DIGESTS=FILE writes the list instead of comparing).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "picture/any_pic_decoder.h"
#include "picture_test_support.h"

namespace ovlet::picture {
namespace {

class Fnv1a {
public:
    void Add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash ^= bytes[i];
            hash *= 1099511628211ull;
        }
    }
    std::uint64_t Value() const { return hash; }

private:
    std::uint64_t hash = 1469598103934665603ull;
};

// "WIDTHxHEIGHT DIGEST" of the decode, or "error CODE".
std::string PixelDigest(const std::string& relative) {
    static CAnyPicDecoder decoder;
    CWinBmp bitmap;
    const Failure failure =
        CatchFailure([&] { decoder.DecodeFile(CorpusPath(relative).string().c_str(), &bitmap, 32); });
    if (failure.code != 0) return "error " + std::to_string(failure.code);
    Fnv1a hash;
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y) {
        hash.Add(bitmap.GetLineTable()[y], 4 * static_cast<std::size_t>(bitmap.GetWidth()));
    }
    char text[64];
    std::snprintf(text, sizeof text, "%dx%d %016llx", static_cast<int>(bitmap.GetWidth()),
                  static_cast<int>(bitmap.GetHeight()), static_cast<unsigned long long>(hash.Value()));
    return text;
}

TEST(CorpusPixels, SameDigestsOnEverySystem) {
    const std::string listPath = std::string(OVLET_CORPUS_DIR) + "/pixel_digests.tsv";
    std::map<std::string, std::string> now;
    for (const ManifestEntry& e : ReadManifest()) now[e.path] = PixelDigest(e.path);
    if (const char* out = std::getenv("OVLET_WRITE_PIXEL_DIGESTS")) {
        std::ofstream file(out, std::ios::binary);
        for (const auto& [path, digest] : now) file << path << '\t' << digest << '\n';
        GTEST_SKIP() << "wrote " << out;
    }
    std::ifstream file(listPath, std::ios::binary);
    ASSERT_TRUE(file) << listPath;
    std::map<std::string, std::string> listed;
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos) listed[line.substr(0, tab)] = line.substr(tab + 1);
    }
    EXPECT_EQ(listed.size(), now.size());
    for (const auto& [path, digest] : now) EXPECT_EQ(digest, listed[path]) << path;
}

}  // namespace
}  // namespace ovlet::picture
