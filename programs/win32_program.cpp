// The Win32 face of the programs on Windows: the system's dialogs, the
// toolbar's bitmaps from the program's own resources, and printed sheets
// drawn with GDI on the printer's page.
#include <windows.h>

#include <cstdint>
#include <span>

#include "exchange/drawing/gdi_face.h"
#include "picture/resource_registry.h"
#include "platform/win32/win32_face.h"
#include "programs/program_face.h"
#include "window/card_dialog.h"

namespace ovlet::programs {

namespace drawing = exchange::drawing;

namespace {

// The system keeps a bitmap resource as the packed DIB the picture library reads.
std::span<const std::uint8_t> ModuleBitmap(std::uint16_t id) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));  // RT_BITMAP
    if (!found) return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(nullptr, found)};
}

class Win32Program : public window::ProgramFace {
public:
    Win32Program() {
        platform::InstallFace(&face);
        picture::SetBitmapResourceLookup(ModuleBitmap);
        window::SetCardSheetPainter([](platform::PrintSurface& page, const card::CardRecord& card,
                                       platform::Paper paper) {
            drawing::DrawCardSheetOn(page.dc, page.dotsPerMm, card,
                                     paper == platform::Paper::Letter ? drawing::Sheet::Letter : drawing::Sheet::A4);
        });
    }
    ~Win32Program() override {
        window::SetCardSheetPainter(nullptr);
        picture::SetBitmapResourceLookup(nullptr);
        platform::InstallFace(nullptr);
    }
    Win32Program(const Win32Program&) = delete;
    Win32Program& operator=(const Win32Program&) = delete;

private:
    platform::win32::Win32Face face;
};

}  // namespace

std::unique_ptr<window::ProgramFace> StartProgramFace(const std::string&, std::vector<std::string>&) {
    return std::make_unique<Win32Program>();
}

}  // namespace ovlet::programs
