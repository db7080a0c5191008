#include "platform/qt/qt_face.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include "platform/qt/handler_dialog.h"
#include "platform/qt/ui_services.h"

namespace platform {
namespace {

// Clipboard formats whose bytes are a picture file a card takes as it is.
const std::pair<const char*, const char*> kPastedFileTypes[] = {
    {"image/png", "pasted.png"},
    {"image/jpeg", "pasted.jpg"},
};

// A JPEG photograph keeps cards small; a picture with transparent pixels
// keeps them as a PNG picture. Either is what every card reader decodes.
constexpr int kPastedJpegQuality = 90;

bool HasTransparentPixels(const QImage& image) {
    if (!image.hasAlphaChannel()) return false;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) != 255) return true;
        }
    }
    return false;
}

// The picture as the bytes of a file, and a name for it; empty when it cannot be written.
std::vector<std::uint8_t> EncodePastedPicture(const QImage& image, std::string& name) {
    const bool png = HasTransparentPixels(image);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    const bool written = png ? image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG")
                             : image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", kPastedJpegQuality);
    if (!written) return {};
    name = png ? "pasted.png" : "pasted.jpg";
    const auto* data = reinterpret_cast<const std::uint8_t*>(encoded.constData());
    return {data, data + encoded.size()};
}

QString Path(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

}  // namespace

QWidget* WidgetOf(DialogHost* host) {
    return dynamic_cast<TemplateDialog*>(host);
}

// The services go through the replaceable UiServices, which the window tests
// of the card window still script.
class QtFace::QtDesktop : public Desktop {
public:
    MessageAnswer Message(DialogHost* owner, const std::string& caption, const std::string& text, MessageIcon icon,
                          MessageButtons buttons) override {
        return Ui().MessageBox(WidgetOf(owner), QString::fromStdString(caption), QString::fromStdString(text), icon,
                               buttons);
    }

    std::optional<std::string> ChooseFile(DialogHost* owner, const FileRequest& request) override {
        FileDialogRequest qtRequest;
        qtRequest.save = request.save;
        for (const FileFilter& f : request.filters) {
            qtRequest.filters.push_back({QString::fromStdString(f.description), QString::fromStdString(f.pattern)});
        }
        qtRequest.defaultExtension = QString::fromStdString(request.defaultExtension);
        qtRequest.initialName = QString::fromStdString(request.initialName);
        qtRequest.title = QString::fromStdString(request.title);
        const std::optional<QString> chosen = Ui().FileDialog(WidgetOf(owner), qtRequest);
        if (!chosen) return std::nullopt;
        return QFile::encodeName(*chosen).toStdString();
    }

    bool OpenAddress(const std::string& url) override { return Ui().OpenUrl(QString::fromStdString(url)); }

    bool ShowHelp(DialogHost* owner, const std::string& helpFile) override {
        return Ui().ShowHelp(WidgetOf(owner), Path(helpFile));
    }

    std::optional<ClipboardPicture> PictureOnClipboard() override {
        const QMimeData* clipboard = QApplication::clipboard()->mimeData();
        if (!clipboard) return std::nullopt;
        ClipboardPicture picture;
        if (clipboard->hasUrls()) {
            for (const QUrl& url : clipboard->urls()) {
                if (url.isLocalFile()) {
                    picture.file = QFile::encodeName(url.toLocalFile()).toStdString();
                    return picture;
                }
            }
        }
        // A JPEG or PNG file's own bytes, where the program it came from
        // offers them, go in unchanged: nothing is lost and no picture is too
        // large to pass through the clipboard's conversion.
        for (const auto& [type, name] : kPastedFileTypes) {
            if (!clipboard->hasFormat(QLatin1String(type))) continue;
            const QByteArray bytes = clipboard->data(QLatin1String(type));
            if (bytes.isEmpty()) continue;
            const auto* first = reinterpret_cast<const std::uint8_t*>(bytes.constData());
            picture.name = name;
            picture.bytes.assign(first, first + bytes.size());
            return picture;
        }
        if (!clipboard->hasImage()) return std::nullopt;
        const QImage image = qvariant_cast<QImage>(clipboard->imageData());
        if (!image.isNull()) picture.bytes = EncodePastedPicture(image, picture.name);
        picture.unreadable = picture.bytes.empty();
        return picture;
    }

    bool Print(DialogHost* owner, const PrintRequest& request) override {
        QtPrintRequest qtRequest{
            QString::fromStdString(request.documentName),
            QPageSize(request.paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4),
            // Kept by value: a scripted UiServices draws the page after Print has returned.
            [paint = request.paint](QPainter& painter) {
                PrintSurface surface(painter);
                paint(surface);
            }};
        return Ui().Print(WidgetOf(owner), qtRequest);
    }

    void Beep() override { Ui().Beep(); }
};

QtFace::QtFace() : desktop(std::make_unique<QtDesktop>()) {}

QtFace::~QtFace() = default;

int QtFace::RunDialog(const DialogTemplate& dialog, DialogHandler& handler, DialogHost* owner) {
    HandlerDialog shown(dialog, handler, WidgetOf(owner));
    return shown.DoModal();
}

Desktop& QtFace::DesktopServices() {
    return *desktop;
}

std::string QtFace::Translate(const char* context, const char* text) {
    if (!text) return {};
    if (!context) return text;
    return QCoreApplication::translate(context, text).toStdString();
}

}  // namespace platform
