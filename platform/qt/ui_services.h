// The Qt face's desktop services in Qt's words: message boxes, file dialogs,
// the desktop's web and mail handlers, help, printing and the beep. One
// replaceable interface, so that the card window's tests (written before the
// windows spoke to the platform's Desktop) can script the answers and read
// back every call; the face's Desktop goes through it.
#pragma once

#include <QPageSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "platform/desktop.h"

class QPainter;
class QWidget;

namespace ovlet::platform {

struct QtFileFilter {
    QString description;  // "Text Files (.txt)"
    QString pattern;      // "*.txt"
};

struct FileDialogRequest {
    bool save = false;
    std::vector<QtFileFilter> filters;
    QString defaultExtension;  // ".txt"; added when the name typed has none
    QString initialName;       // "Untitled", or empty
    QString title;             // empty: the desktop's own title
};

// One page to print: its paper and what is drawn on it. The painter's origin
// is the paper's top left corner, and its device's resolution gives the scale.
struct QtPrintRequest {
    QString documentName;
    QPageSize pageSize;
    std::function<void(QPainter&)> paint;
};

class UiServices {
public:
    virtual ~UiServices() = default;
    virtual MessageAnswer MessageBox(QWidget* owner, const QString& caption, const QString& text, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    // The chosen file's full path, or nothing when the dialog was cancelled.
    // A Save dialog asks before an existing file is overwritten.
    virtual std::optional<QString> FileDialog(QWidget* owner, const FileDialogRequest& request) = 0;
    // Hands an address to the desktop's handler (browser, mail program).
    virtual bool OpenUrl(const QString& url) = 0;
    // Shows a help manual at its contents; false when it cannot be shown.
    virtual bool ShowHelp(QWidget* owner, const QString& helpFile) = 0;
    // The desktop's print preview of the page, from which the print dialog
    // prints it; true when it was printed.
    virtual bool Print(QWidget* owner, const QtPrintRequest& request) = 0;
    virtual void Beep() = 0;
};

// The services in force: the Qt ones unless a test installed its own.
UiServices& Ui();
// Installs `services` (not owned); null restores the Qt ones.
void SetUi(UiServices* services);

}  // namespace ovlet::platform
