#include "platform/qt/ui_services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "platform/qt/help_window.h"

namespace ovlet::platform {
namespace {

// A Yes/No question has no cancel: Escape and the close box are not answers,
// so a question about saving can never be answered "No" by accident. A
// question with Cancel takes Escape and the close box as Cancel.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool cancellable = false;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && !cancellable) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (!clickedButton() && !cancellable) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

class QtUi : public UiServices {
public:
    MessageAnswer MessageBox(QWidget* owner, const QString& caption, const QString& text, MessageIcon icon,
                             MessageButtons buttons) override {
        QuestionBox box(owner);
        box.setWindowTitle(caption);
        box.setText(text);
        box.setTextFormat(Qt::PlainText);
        switch (icon) {
            case MessageIcon::None:
                box.setIcon(QMessageBox::NoIcon);
                break;
            case MessageIcon::Information:
                box.setIcon(QMessageBox::Information);
                break;
            case MessageIcon::Question:
                box.setIcon(QMessageBox::Question);
                break;
            case MessageIcon::Exclamation:
                box.setIcon(QMessageBox::Warning);
                break;
            case MessageIcon::Stop:
                box.setIcon(QMessageBox::Critical);
                break;
        }
        if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel) {
            // Y and N answer as the buttons' mnemonics; Escape is not an answer
            // unless there is a Cancel to give.
            QPushButton* yes = box.addButton(QObject::tr("&Yes"), QMessageBox::YesRole);
            QPushButton* no = box.addButton(QObject::tr("&No"), QMessageBox::NoRole);
            QPushButton* cancel = nullptr;
            if (buttons == MessageButtons::YesNoCancel) {
                cancel = box.addButton(QObject::tr("Cancel"), QMessageBox::RejectRole);
                box.setEscapeButton(cancel);
                box.cancellable = true;
            }
            box.setDefaultButton(yes);
            box.exec();
            if (box.clickedButton() == no) return MessageAnswer::No;
            if (cancel && box.clickedButton() != yes) return MessageAnswer::Cancel;
            return MessageAnswer::Yes;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(QObject::tr("OK"));
        box.setEscapeButton(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    }

    std::optional<QString> FileDialog(QWidget* owner, const FileDialogRequest& request) override {
        QStringList filters;
        for (const auto& f : request.filters) filters << QStringLiteral("%1 (%2)").arg(f.description, f.pattern);
        QFileDialog dialog(owner, request.title);
        // The descriptions as they stand; the patterns stay out of sight.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(filters);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        QString suffix = request.defaultExtension;
        if (suffix.startsWith('.')) suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
        if (!request.initialName.isEmpty()) dialog.selectFile(request.initialName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();
    }

    bool OpenUrl(const QString& url) override { return QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode)); }

    bool ShowHelp(QWidget* owner, const QString& helpFile) override { return ShowHelpWindow(owner, helpFile); }

    bool Print(QWidget* owner, const QtPrintRequest& request) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(request.documentName);
        // The page is drawn on the whole paper; the printer keeps to what it can reach.
        printer.setFullPage(true);
        printer.setPageSize(request.pageSize);
        printer.setPageOrientation(QPageLayout::Portrait);
        QPrintPreviewDialog preview(&printer, owner);
        preview.setWindowTitle(request.documentName);
        // Large enough to read a card on the page, within the screen.
        if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
            const QSize room = screen->availableGeometry().size() * 9 / 10;
            preview.resize(std::min(800, room.width()), std::min(940, room.height()));
        }
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&request](QPrinter* device) {
            QPainter painter(device);
            request.paint(painter);
        });
        return preview.exec() == QDialog::Accepted;
    }

    void Beep() override { QApplication::beep(); }
};

UiServices* gInstalled = nullptr;

}  // namespace

UiServices& Ui() {
    static QtUi qtUi;
    return gInstalled ? *gInstalled : qtUi;
}

void SetUi(UiServices* services) {
    gInstalled = services;
}

}  // namespace ovlet::platform
