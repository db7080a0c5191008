// The viewer's form of the card window: three pages, the summary block shown,
// no command that changes, saves or opens a card.
#pragma once

#include "viewer/viewer_about.h"
#include "window/card_dialog.h"

namespace ovlet::viewer {

class CViewerDialog : public window::CCardDialog {
public:
    CViewerDialog();

protected:
    std::vector<platform::MenuEntry> FormMenuEntries() const override;
};

}  // namespace ovlet::viewer
