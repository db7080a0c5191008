#include "maker/maker_about.h"

#include "platform/text_mark.h"

namespace ovlet::maker {

const window::AboutForm kMakerAbout{
    .caption = nullptr,
    .version = QT_TRANSLATE_NOOP("AboutDialog", "Ovlet Maker Version 1.0"),
    .linkText = nullptr,
    .program = "ovmake",
};

}  // namespace ovlet::maker
