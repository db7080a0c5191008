#include "viewer/viewer_about.h"

#include "platform/text_mark.h"

namespace ovlet::viewer {

const window::AboutForm kViewerAbout{
    .caption = QT_TRANSLATE_NOOP("AboutDialog", "About Ovlet Viewer"),
    .version = QT_TRANSLATE_NOOP("AboutDialog", "Ovlet Viewer Version 1.0"),
    .linkText = QT_TRANSLATE_NOOP("AboutDialog", "Download Ovlet Maker"),
    .program = "ovview",
};

}  // namespace ovlet::viewer
