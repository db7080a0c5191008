#include "maker/splash_dialog.h"

#include <QFile>
#include <QTimerEvent>
#include <memory>

#include "controls/picture_static.h"
#include "platform/qt/owner_drawn_widget.h"
#include "files/input_file.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"
#include "window/card_text.h"
#include "window/program_data.h"

CSplashDialog::CSplashDialog(QWidget* parent, int ms)
    : TemplateDialog(resources::SplashDialogTemplate(), parent), milliseconds(ms) {}

QWidget* CSplashDialog::CreateControl(const platform::ControlTemplate& control) {
    if (control.id == kIdSplashPicture) {
        auto picture = std::make_unique<CPictureStatic>();
        panel = picture.get();
        return platform::qt::MakeOwnerDrawnPanel(std::move(picture));
    }
    return TemplateDialog::CreateControl(control);
}

void CSplashDialog::OnInitDialog() {
    // The timer runs from before the picture is decoded, so decoding counts
    // against the three seconds.
    startTimer(milliseconds);
    pictureName = "maker.jpg";
    // The picture in the current folder first, then the installed one, then
    // the one built into the program; files are read through the programs'
    // one reader.
    for (const std::string& path : {pictureName, PathBytes(ProgramDataFile(QStringLiteral("maker.jpg")))}) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        files::ReadOptions options;
        options.maxBytes = files::kMaxPictureBytes;
        if (files::ReadWholeFile(path, options, bytes, error) &&
            panel->SetPictureData(pictureName, bytes.data(), static_cast<std::int32_t>(bytes.size()))) {
            return;
        }
    }
    QFile builtIn(QStringLiteral(":/data/maker.jpg"));
    if (builtIn.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = builtIn.readAll();
        panel->SetPictureData(pictureName, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                              static_cast<std::int32_t>(bytes.size()));
    }
}

void CSplashDialog::timerEvent(QTimerEvent*) {
    done(QDialog::Rejected);
}
