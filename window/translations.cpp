#include "window/translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <utility>

#include "files/input_file.h"
#include "files/user_languages.h"
#include "resources/catalogue/catalogue.h"
#include "window/program_data.h"

namespace {

// Qt's own catalogue is a few hundred kilobytes; anything far larger is not one.
constexpr std::uint64_t kMaxCatalogueBytes = 16u << 20;

// Every tr() and QCoreApplication::translate of the windows, answered from
// the programs' catalogue.
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
        ovlet::files::ReadOptions options;
        options.maxBytes = kMaxCatalogueBytes;
        ovlet::files::Result<std::string> read = ovlet::files::ReadWholeText(QFile::encodeName(path).toStdString(), options);
        if (!read) return false;
        bytes_ = std::move(read).Value();
        return translator_.load(reinterpret_cast<const uchar*>(bytes_.data()), static_cast<int>(bytes_.size()));
    }
    QTranslator* Translator() { return &translator_; }

private:
    std::string bytes_;  // QTranslator reads them where they are: they live as long as it
    QTranslator translator_;
};

struct Installed {
    std::unique_ptr<CatalogueTranslator> programs;
    std::unique_ptr<QtCatalogue> qt;
};

Installed& Current() {
    static Installed installed;
    return installed;
}

}  // namespace

const std::vector<std::string>& TranslatedLanguages() {
    return catalogue::Languages();
}

std::string UserLanguage() {
    return catalogue::ChooseLanguage(ovlet::files::UserLanguages());
}

bool InstallTranslations(const std::string& language) {
    Installed& installed = Current();
    if (installed.programs) QCoreApplication::removeTranslator(installed.programs.get());
    if (installed.qt) QCoreApplication::removeTranslator(installed.qt->Translator());
    installed = {};
    catalogue::SetLanguage({});
    if (language.empty()) return true;
    const auto& known = catalogue::Languages();
    if (std::find(known.begin(), known.end(), language) == known.end()) return false;
    catalogue::SetLanguage(language);
    installed.programs = std::make_unique<CatalogueTranslator>(language);
    QCoreApplication::installTranslator(installed.programs.get());
    // Qt's own words (the desktop's file and print dialogs, key names), where
    // the system has them.
    auto qt = std::make_unique<QtCatalogue>();
    if (qt->Load(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                 QStringLiteral("/qtbase_%1.qm").arg(QString::fromStdString(language)))) {
        QCoreApplication::installTranslator(qt->Translator());
        installed.qt = std::move(qt);
    }
    return true;
}

const std::string& CurrentLanguage() {
    return catalogue::Language();
}

QString LocalizedDataFile(const QString& name) {
    if (!CurrentLanguage().empty()) {
        const QFileInfo info(name);
        const QString localized = ProgramDataFile(
            QStringLiteral("%1_%2.%3").arg(info.completeBaseName(), QString::fromStdString(CurrentLanguage()), info.suffix()));
        if (QFileInfo::exists(localized)) return localized;
    }
    return ProgramDataFile(name);
}
