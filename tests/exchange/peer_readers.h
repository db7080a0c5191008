// The independent programs the exchange tests check our formats with, each
// run once for many files (a JVM or node starts once, not once a file). A
// peer that is missing fails the test that needs it, naming the package
// that brings it: the suite never passes by leaving a peer out.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace ovlet::exchange::peers {

using Values = std::vector<std::pair<std::string, std::string>>;  // key, value (UTF-8 or bytes)

// What ez-vcard (Java) reads from each vCard file.
std::vector<Values> EzVCardRead(const std::vector<std::filesystem::path>& files);
// For each UTF-8 text, a vCard 2.1 whose NOTE ez-vcard writes in
// quoted-printable into `folder`/N.vcf, and what ez-vcard reads back from it.
std::vector<Values> EzVCardQuotedPrintable(const std::filesystem::path& folder, const std::vector<std::string>& notes);
// The text of the QR code in each PNG, as ZXing (Java) reads it ("TEXT").
std::vector<Values> ZxingRead(const std::vector<std::filesystem::path>& pngs);
// What ical.js (npm) reads from each vCard file: NAME, NAME.k, NAME;PARAM.
std::vector<Values> IcalJsRead(const std::vector<std::filesystem::path>& files);
// For each picture, a vCard 4.0 with it as PHOTO, as ical.js writes it, in
// `folder`; its path is the value of "FILE".
std::vector<Values> IcalJsPhotos(const std::filesystem::path& folder,
                                 const std::vector<std::filesystem::path>& pictures);
// What evolution-data-server's contacts library reads from each vCard file:
// NAME (NAME.k for more values) and NAME;PARAM.
std::vector<Values> EvolutionRead(const std::vector<std::filesystem::path>& files);
// The h-card properties microformats-parser (npm) finds in each page.
std::vector<Values> MicroformatsRead(const std::vector<std::filesystem::path>& files);

// Every value of a key, in order.
std::vector<std::string> All(const Values& values, const std::string& key);
// The one value of a key, or "(N values)".
std::string One(const Values& values, const std::string& key);

}  // namespace ovlet::exchange::peers
