#include "platform/qt/qt_face.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QMimeData>
#include <QTranslator>
#include <QUrl>
#include <memory>

#include "files/input_file.h"
#include "platform/qt/handler_dialog.h"
#include "platform/qt/ui_services.h"
#include "resources/catalogue/catalogue.h"

namespace ovlet::platform {
namespace {

// Qt's own catalogue is a few hundred kilobytes; anything far larger is not one.
constexpr std::uint64_t kMaxCatalogueBytes = 16u << 20;

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
        QtPrintRequest qtRequest{QString::fromStdString(request.documentName),
                                 QPageSize(request.paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4),
                                 // Kept by value: a scripted UiServices draws the page after Print has returned.
                                 [paint = request.paint, paper = request.paper](QPainter& painter) {
                                     PrintSurface surface(painter);
                                     paint(surface, paper);
                                 }};
        return Ui().Print(WidgetOf(owner), qtRequest);
    }

    void Beep() override { Ui().Beep(); }

    Paper UsersPaper() override {
        return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? Paper::Letter : Paper::A4;
    }
};

namespace {

// Every tr() and QCoreApplication::translate of the face, answered from the
// programs' catalogue.
class CatalogueTranslator : public QTranslator {
public:
    explicit CatalogueTranslator(std::string language) : language_(std::move(language)) {}

    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override {
        const char* translation =
            catalogue::FindTranslation(language_, context ? context : "", sourceText ? sourceText : "");
        return translation ? QString::fromUtf8(translation) : QString();
    }

    bool isEmpty() const override { return false; }

private:
    std::string language_;
};

// Qt's own catalogue of a language, read through the programs' one reader.
class QtCatalogue {
public:
    bool Load(const QString& path) {
        files::ReadOptions options;
        options.maxBytes = kMaxCatalogueBytes;
        files::Result<std::string> read = files::ReadWholeText(QFile::encodeName(path).toStdString(), options);
        if (!read) return false;
        bytes_ = std::move(read).Value();
        return translator_.load(reinterpret_cast<const uchar*>(bytes_.data()), static_cast<int>(bytes_.size()));
    }
    QTranslator* Translator() { return &translator_; }

private:
    std::string bytes_;  // QTranslator reads them where they are: they live as long as it
    QTranslator translator_;
};

}  // namespace

struct QtFace::Translators {
    std::unique_ptr<CatalogueTranslator> programs;
    std::unique_ptr<QtCatalogue> qt;
};

QtFace::QtFace() : desktop(std::make_unique<QtDesktop>()), translators(std::make_unique<Translators>()) {}

QtFace::~QtFace() {
    LanguageChanged({});
}

void QtFace::LanguageChanged(const std::string& language) {
    if (translators->programs) QCoreApplication::removeTranslator(translators->programs.get());
    if (translators->qt) QCoreApplication::removeTranslator(translators->qt->Translator());
    *translators = {};
    if (language.empty()) return;
    translators->programs = std::make_unique<CatalogueTranslator>(language);
    QCoreApplication::installTranslator(translators->programs.get());
    // Qt's own words (the desktop's file and print dialogs, key names), where
    // the system has them.
    auto qt = std::make_unique<QtCatalogue>();
    if (qt->Load(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                 QStringLiteral("/qtbase_%1.qm").arg(QString::fromStdString(language)))) {
        QCoreApplication::installTranslator(qt->Translator());
        translators->qt = std::move(qt);
    }
}

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

}  // namespace ovlet::platform
