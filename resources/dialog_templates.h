// The dialog templates of the programs and their string table.
#pragma once

#include <string>

#include "platform/dialog_template.h"

namespace ovlet::resources {

const platform::DialogTemplate& AboutDialogTemplate();
const platform::DialogTemplate& CardDialogTemplate();
const platform::DialogTemplate& SplashDialogTemplate();
const platform::DialogTemplate& QrCodeDialogTemplate();

// By id; null for an unknown one.
const platform::DialogTemplate* FindDialogTemplate(int id);

// The string table; empty for an unknown id. Its strings are translated in
// this context.
std::string LoadResourceString(int id);
inline constexpr const char* kStringTableContext = "StringTable";

}  // namespace ovlet::resources
