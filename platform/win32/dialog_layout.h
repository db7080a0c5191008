// A dialog template in the form Windows builds a dialog from: the extended
// in-memory template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items), with
// positions in dialog units as the layouts were drawn, so that the system's
// own dialog units size the window and its controls. Plain data and
// arithmetic, the same on every system, so its tests run everywhere.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog_template.h"

namespace ovlet::platform::win32 {

// The typeface of every dialog: the desktop's dialog face, the one the
// layouts were measured in, at the template's point size.
inline constexpr const char16_t* kDialogFace = u"MS Shell Dlg";

// Window and control styles as the system defines them (the values of
// WinUser.h and CommCtrl.h, written out so that this file builds anywhere).
namespace style {
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kVScroll = 0x00200000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kGroup = 0x00020000;
inline constexpr std::uint32_t kTabStop = 0x00010000;
inline constexpr std::uint32_t kClipSiblings = 0x04000000;
inline constexpr std::uint32_t kDsSetFont = 0x0040;
inline constexpr std::uint32_t kDsModalFrame = 0x0080;
inline constexpr std::uint32_t kDsCenter = 0x0800;
inline constexpr std::uint32_t kSsIcon = 0x0003;
inline constexpr std::uint32_t kSsNoPrefix = 0x0080;
inline constexpr std::uint32_t kSsOwnerDraw = 0x000D;
inline constexpr std::uint32_t kSsCenterImage = 0x0200;
inline constexpr std::uint32_t kEsMultiLine = 0x0004;
inline constexpr std::uint32_t kEsAutoVScroll = 0x0040;
inline constexpr std::uint32_t kEsAutoHScroll = 0x0080;
inline constexpr std::uint32_t kEsWantReturn = 0x1000;
inline constexpr std::uint32_t kBsPushButton = 0x0000;
inline constexpr std::uint32_t kBsDefPushButton = 0x0001;
inline constexpr std::uint32_t kBsGroupBox = 0x0007;
inline constexpr std::uint32_t kBsOwnerDraw = 0x000B;
inline constexpr std::uint32_t kWsExStaticEdge = 0x00020000;
inline constexpr std::uint32_t kWsExClientEdge = 0x00000200;
}  // namespace style

// The predefined window classes by their atoms.
enum class ClassAtom : std::uint16_t { Button = 0x0080, Edit = 0x0081, Static = 0x0082 };
// The common control a tab control is.
inline constexpr const char16_t* kTabControlClass = u"SysTabControl32";

// How one kind of control is made.
struct ControlClass {
    ClassAtom atom = ClassAtom::Static;  // when `className` is null
    const char16_t* className = nullptr;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
};
ControlClass ClassOf(const ControlTemplate& control);

// The dialog window's own style: a caption makes a movable dialog with a
// close box; without one it is a bare pop-up. Either is centred on the
// screen when it has no owner.
std::uint32_t DialogStyle(const DialogTemplate& dialog);

// The template bytes. `translate` gives each caption and control text as the
// user reads it (null: as written); ids of -1 are written as 0xFFFFFFFF.
using TextFor = std::function<std::string(const char* context, const std::string& text)>;
std::vector<std::uint8_t> BuildTemplate(const DialogTemplate& dialog, const TextFor& translate = nullptr);

// Dialog units to pixels with the dialog font's base units (the average
// character width and the character height in pixels): x * baseX / 4 and
// y * baseY / 8, rounded to the nearest pixel, halves away from zero.
int HorizontalPixels(int units, int baseX);
int VerticalPixels(int units, int baseY);

// The base units of a font from its character height and the width of the
// 52 letters a-z A-Z: the width rounded to the nearest whole average.
struct BaseUnits {
    int x = 0;
    int y = 0;
};
BaseUnits BaseUnitsOf(int lettersWidth, int characterHeight);

// The addresses handed to the shell: web addresses and mail only. The shell
// would also run a program or open a path it is given, so anything else is
// refused, as is an address with control characters or spaces.
bool IsAddressForShell(const std::string& url);

}  // namespace ovlet::platform::win32
