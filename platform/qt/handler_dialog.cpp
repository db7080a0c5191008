#include "platform/qt/handler_dialog.h"

#include "platform/owner_drawn.h"

namespace platform {
namespace {

OwnerDrawnWidgetMaker gMaker = nullptr;

}  // namespace

void SetOwnerDrawnWidgetMaker(OwnerDrawnWidgetMaker maker) {
    gMaker = maker;
}

HandlerDialog::HandlerDialog(const DialogTemplate& dialog, DialogHandler& dialogHandler, QWidget* parent)
    : TemplateDialog(dialog, parent), handler(dialogHandler) {}

QWidget* HandlerDialog::CreateControl(const ControlTemplate& control) {
    if (control.kind == ControlKind::OwnerDrawButton || control.kind == ControlKind::PicturePanel) {
        std::unique_ptr<OwnerDrawnControl> drawn = handler.MakeOwnerDrawn(control.id);
        if (!drawn || !gMaker) return nullptr;
        QWidget* widget = gMaker(std::move(drawn), control);
        if (widget && control.kind == ControlKind::OwnerDrawButton) RouteClicks(widget, control.id);
        return widget;
    }
    return TemplateDialog::CreateControl(control);
}

}  // namespace platform
