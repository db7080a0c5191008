// The Qt face's desktop services scripted, for the window tests: answers in
// order and a record of every call. Linked into tests only, never into the
// programs.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "platform/qt/ui_services.h"

namespace ovlet::platform {

// A script for tests: answers in order and records every call.
class ScriptedUi : public UiServices {
public:
    struct Call {
        QString kind;     // "message", "file", "url", "help", "print", "beep"
        QString caption;  // message caption, file dialog title, printed document's name
        QString text;     // message text, initial file name, address, help file
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        FileDialogRequest file;
        QtPrintRequest print;
    };

    std::vector<Call> calls;
    std::vector<MessageAnswer> messageAnswers;        // taken in order; Ok/No/Cancel when none is left
    std::vector<std::optional<QString>> fileAnswers;  // taken in order; cancel when none is left
    bool helpResult = true;
    bool urlResult = true;
    bool printResult = true;

    MessageAnswer MessageBox(QWidget* owner, const QString& caption, const QString& text, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<QString> FileDialog(QWidget* owner, const FileDialogRequest& request) override;
    bool OpenUrl(const QString& url) override;
    bool ShowHelp(QWidget* owner, const QString& helpFile) override;
    bool Print(QWidget* owner, const QtPrintRequest& request) override;
    void Beep() override;

    // The calls of one kind, in order.
    std::vector<Call> Of(const QString& kind) const;
};

}  // namespace ovlet::platform
