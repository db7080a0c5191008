// The maker's splash window: the splash picture for three seconds, or until
// Enter or Escape.
#pragma once

#include <string>

#include "platform/qt/template_dialog.h"

class CPictureStatic;

class CSplashDialog : public platform::TemplateDialog {
    Q_OBJECT
public:
    explicit CSplashDialog(QWidget* parent = nullptr, int milliseconds = 3000);

    const std::string& PictureName() const { return pictureName; }
    CPictureStatic* Panel() const { return panel; }

protected:
    QWidget* CreateControl(const platform::ControlTemplate& control) override;
    void OnInitDialog() override;
    void timerEvent(QTimerEvent* event) override;

private:
    std::string pictureName;
    CPictureStatic* panel = nullptr;
    int milliseconds;
};
