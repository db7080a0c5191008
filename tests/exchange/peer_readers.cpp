#include "peer_readers.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/run_tool.h"

namespace ovlet::exchange::peers {
namespace fs = std::filesystem;
namespace {

const std::string kPeers = OVLET_TESTS_DIR "/exchange/peers";

// The jars Debian's packages install, and the package of each.
const std::pair<const char*, const char*> kJars[] = {
    {"/usr/share/java/ez-vcard.jar", "libez-vcard-java"},
    {"/usr/share/java/vinnie.jar", "libvinnie-java"},
    {"/usr/share/java/core.jar", "libzxing-core-java"},
    {"/usr/share/java/javase.jar", "libzxing-javase-java"},
};

std::string Quote(const std::string& word) {
    std::string out = "'";
    for (const char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// A missing peer is a failure that says what to install.
bool Present(const char* peer, const fs::path& needed, const char* package) {
    if (fs::exists(needed)) return true;
    ADD_FAILURE() << peer << " is missing (" << needed.string() << "): install " << package << " (scripts/setup does)";
    return false;
}

// Runs the command with the words after it and splits what it prints into
// one set of values a file. Anything else it prints, and a failed exit, fail
// the test with the peer's own words.
std::vector<Values> Run(const char* peer, const std::string& command, const std::vector<std::string>& words,
                        std::size_t files) {
    std::vector<Values> out(files);
    std::string line = command;
    for (const std::string& word : words) line += " " + Quote(word);
    const test_support::ToolResult run = test_support::RunShell(line);
    std::istringstream lines(run.out);
    std::string text;
    while (std::getline(lines, text)) {
        const std::size_t tab1 = text.find('\t');
        const std::size_t tab2 = tab1 == std::string::npos ? tab1 : text.find('\t', tab1 + 1);
        std::size_t index = files;
        if (tab2 != std::string::npos) {
            try {
                index = std::stoul(text.substr(0, tab1));
            } catch (const std::exception&) {
            }
        }
        if (index >= files) {
            ADD_FAILURE() << peer << " printed: " << text;
            continue;
        }
        const std::string hex = text.substr(tab2 + 1);
        out[index].emplace_back(text.substr(tab1 + 1, tab2 - tab1 - 1), hex == "-" ? std::string() : FromHex(hex));
    }
    if (run.code != 0) ADD_FAILURE() << peer << " failed (exit " << run.code << "):\n" << run.err.substr(0, 3000);
    return out;
}

std::vector<Values> Java(const char* peer, const std::string& mode, std::vector<std::string> words, std::size_t files) {
    std::string classpath;
    for (const auto& [jar, package] : kJars) {
        if (!Present(peer, jar, package)) return std::vector<Values>(files);
        classpath += (classpath.empty() ? "" : ":") + std::string(jar);
    }
    if (!Present(peer, "/usr/bin/java", "default-jdk-headless")) return std::vector<Values>(files);
    words.insert(words.begin(), mode);
    return Run(peer, "/usr/bin/java -cp " + classpath + " " + Quote(kPeers + "/JavaPeers.java"), words, files);
}

std::vector<Values> Node(const char* peer, const std::string& script, const std::vector<std::string>& words,
                         std::size_t files) {
    if (!Present(peer, kPeers + "/node_modules/ical.js", "the npm packages of tests/exchange/peers (npm ci)") ||
        !Present(peer, kPeers + "/node_modules/microformats-parser",
                 "the npm packages of tests/exchange/peers (npm ci)")) {
        return std::vector<Values>(files);
    }
    return Run(peer, "node " + Quote(kPeers + "/" + script), words, files);
}

std::vector<std::string> Paths(const std::vector<fs::path>& files) {
    std::vector<std::string> out;
    for (const auto& f : files) out.push_back(f.string());
    return out;
}

}  // namespace

std::vector<Values> EzVCardRead(const std::vector<fs::path>& files) {
    return Java("ez-vcard", "vcard", Paths(files), files.size());
}

std::vector<Values> EzVCardQuotedPrintable(const fs::path& folder, const std::vector<std::string>& notes) {
    std::vector<std::string> words{folder.string()};
    for (const std::string& note : notes) {
        std::string hex;
        for (const char ch : note) {
            static const char kDigits[] = "0123456789abcdef";
            const auto c = static_cast<unsigned char>(ch);
            hex += kDigits[c >> 4];
            hex += kDigits[c & 15];
        }
        words.push_back(hex);
    }
    return Java("ez-vcard", "qp21", words, notes.size());
}

std::vector<Values> ZxingRead(const std::vector<fs::path>& pngs) {
    return Java("ZXing", "qr", Paths(pngs), pngs.size());
}

std::vector<Values> IcalJsRead(const std::vector<fs::path>& files) {
    std::vector<std::string> words = Paths(files);
    words.insert(words.begin(), "read");
    return Node("ical.js", "ical_peer.mjs", words, files.size());
}

std::vector<Values> IcalJsPhotos(const fs::path& folder, const std::vector<fs::path>& pictures) {
    std::vector<std::string> words = Paths(pictures);
    words.insert(words.begin(), {"photo", folder.string()});
    return Node("ical.js", "ical_peer.mjs", words, pictures.size());
}

std::vector<Values> MicroformatsRead(const std::vector<fs::path>& files) {
    return Node("microformats-parser", "mf_peer.mjs", Paths(files), files.size());
}

std::vector<Values> EvolutionRead(const std::vector<fs::path>& files) {
    // The script says which package is missing when it is.
    return Run("evolution-data-server", "/usr/bin/python3 " + Quote(kPeers + "/evolution_read.py"), Paths(files),
               files.size());
}

std::vector<std::string> All(const Values& values, const std::string& key) {
    std::vector<std::string> out;
    for (const auto& [k, v] : values) {
        if (k == key) out.push_back(v);
    }
    return out;
}

std::string One(const Values& values, const std::string& key) {
    const auto all = All(values, key);
    return all.size() == 1 ? all.front() : "(" + std::to_string(all.size()) + " values)";
}

}  // namespace ovlet::exchange::peers
