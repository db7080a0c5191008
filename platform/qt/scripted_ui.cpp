#include "platform/qt/scripted_ui.h"

#include "platform/scripted_face.h"

namespace ovlet::platform {

MessageAnswer ScriptedUi::MessageBox(QWidget*, const QString& caption, const QString& text, MessageIcon icon,
                                     MessageButtons buttons) {
    Call call;
    call.kind = "message";
    call.caption = caption;
    call.text = text;
    call.icon = icon;
    call.buttons = buttons;
    calls.push_back(call);
    return TakeScriptedAnswer(buttons, messageAnswers);
}

std::optional<QString> ScriptedUi::FileDialog(QWidget*, const FileDialogRequest& request) {
    Call call;
    call.kind = "file";
    call.caption = request.title;
    call.text = request.initialName;
    call.file = request;
    calls.push_back(call);
    if (fileAnswers.empty()) return std::nullopt;
    const bool chosen = fileAnswers.front().has_value();
    const QString path = chosen ? *fileAnswers.front() : QString();
    fileAnswers.erase(fileAnswers.begin());
    if (!chosen) return std::nullopt;
    return path;
}

bool ScriptedUi::OpenUrl(const QString& url) {
    Call call;
    call.kind = "url";
    call.text = url;
    calls.push_back(call);
    return urlResult;
}

bool ScriptedUi::ShowHelp(QWidget*, const QString& helpFile) {
    Call call;
    call.kind = "help";
    call.text = helpFile;
    calls.push_back(call);
    return helpResult;
}

bool ScriptedUi::Print(QWidget*, const QtPrintRequest& request) {
    Call call;
    call.kind = "print";
    call.caption = request.documentName;
    call.print = request;
    calls.push_back(call);
    return printResult;
}

void ScriptedUi::Beep() {
    Call call;
    call.kind = "beep";
    calls.push_back(call);
}

std::vector<ScriptedUi::Call> ScriptedUi::Of(const QString& kind) const {
    std::vector<Call> out;
    for (const auto& c : calls) {
        if (c.kind == kind) out.push_back(c);
    }
    return out;
}

}  // namespace ovlet::platform
