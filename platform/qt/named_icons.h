// Icons by name, made from the PNG files a program carries.
#pragma once

#include <QIcon>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ovlet::platform {

// One size of an icon: a PNG file of a square picture `side` pixels high.
struct IconFile {
    int side = 0;
    std::span<const std::uint8_t> bytes;
};

// An icon by the name a dialog asks for it with (DialogHost::SetIcon), in
// its sizes.
struct NamedIcon {
    std::string name;
    std::vector<IconFile> sizes;
};

// The icon of its files: a size asked for is the smallest picture at least
// that high (or the largest), read when it is first asked for. The bytes are
// not copied: they stay where they are for as long as the icon lives.
QIcon IconOfFiles(std::vector<IconFile> sizes);

// Makes the icons the ones dialogs show by name (IconOf); an empty list
// takes them away again.
void InstallIcons(const std::vector<NamedIcon>& icons);

}  // namespace ovlet::platform
