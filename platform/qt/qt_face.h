// The Qt face: the windows as Qt Widgets dialogs, the desktop's services
// through Qt (message boxes, file dialogs, the browser, the manual's window,
// the clipboard, the print preview).
#pragma once

#include <QPainter>

#include "platform/face.h"

class QWidget;

namespace ovlet::platform {

// A printed page as the Qt face draws it: the painter's origin is the
// paper's top left corner, and its device's resolution gives the scale.
class PrintSurface {
public:
    explicit PrintSurface(QPainter& target) : painter(target) {}
    QPainter& painter;
};

class QtFace : public Face {
public:
    QtFace();
    ~QtFace() override;
    int RunDialog(const DialogTemplate& dialog, DialogHandler& handler, DialogHost* owner) override;
    Desktop& DesktopServices() override;
    std::string Translate(const char* context, const char* text) override;
    void LanguageChanged(const std::string& language) override;

private:
    class QtDesktop;
    std::unique_ptr<QtDesktop> desktop;
    struct Translators;
    std::unique_ptr<Translators> translators;
};

// The widget of a dialog this face made (null for none, or for another face's).
QWidget* WidgetOf(DialogHost* host);

}  // namespace ovlet::platform
