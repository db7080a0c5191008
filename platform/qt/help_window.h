// The help window: an HTML manual with its contents on the left.
#pragma once

class QString;
class QWidget;

namespace ovlet::platform {

// Shows the manual at its contents; false when the file is missing or unreadable.
bool ShowHelpWindow(QWidget* owner, const QString& helpFile);

}  // namespace ovlet::platform
