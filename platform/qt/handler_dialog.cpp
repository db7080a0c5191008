#include "platform/qt/handler_dialog.h"

#include "platform/owner_drawn.h"
#include "platform/qt/owner_drawn_widget.h"

namespace ovlet::platform {

HandlerDialog::HandlerDialog(const DialogTemplate& dialog, DialogHandler& dialogHandler, QWidget* parent)
    : TemplateDialog(dialog, parent), handler(dialogHandler) {}

QWidget* HandlerDialog::CreateControl(const ControlTemplate& control) {
    if (!handler.UsesControl(control.id)) return nullptr;
    if (control.kind != ControlKind::OwnerDrawButton && control.kind != ControlKind::PicturePanel) {
        return TemplateDialog::CreateControl(control);
    }
    std::unique_ptr<OwnerDrawnControl> drawn = handler.MakeOwnerDrawn(control.id);
    if (!drawn) return nullptr;
    if (control.kind == ControlKind::PicturePanel) return qt::MakeOwnerDrawnPanel(std::move(drawn));
    qt::OwnerDrawnButton* button = qt::MakeOwnerDrawnButton(std::move(drawn));
    button->setText(TemplateText(control.text));
    RouteClicks(button, control.id);
    return button;
}

}  // namespace ovlet::platform
