// Bitmap resources by number, for CWinBmp::LoadFromResource.
#pragma once

class QString;

namespace platform {

// Makes the bitmaps in a folder of the program's built-in files (for example
// ":/bitmaps", holding 131.bmp, 133.bmp, ...) the bitmap resources of the program.
void InstallBitmapResources(const QString& folder);

}  // namespace platform
