#include "window/translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "files/input_file.h"
#include "window/program_data.h"

namespace {

// A catalogue is a few ten kilobytes; anything far larger is not one.
constexpr std::uint64_t kMaxCatalogueBytes = 16u << 20;

struct Catalogue {
    std::string bytes;  // QTranslator reads them where they are: they live as long as it
    std::unique_ptr<QTranslator> translator;
};

std::vector<std::unique_ptr<Catalogue>>& Installed() {
    static std::vector<std::unique_ptr<Catalogue>> installed;
    return installed;
}

std::string& Current() {
    static std::string language;
    return language;
}

bool Load(const QString& path) {
    auto catalogue = std::make_unique<Catalogue>();
    std::string error;
    files::ReadOptions options;
    options.maxBytes = kMaxCatalogueBytes;
    if (!files::ReadWholeFile(QFile::encodeName(path).toStdString(), options, catalogue->bytes, error)) return false;
    catalogue->translator = std::make_unique<QTranslator>();
    if (!catalogue->translator->load(reinterpret_cast<const uchar*>(catalogue->bytes.data()),
                                     static_cast<int>(catalogue->bytes.size()))) {
        return false;
    }
    QCoreApplication::installTranslator(catalogue->translator.get());
    Installed().push_back(std::move(catalogue));
    return true;
}

// "de_DE.UTF-8@euro" -> "de".
std::string LanguageOf(std::string_view locale) {
    const std::size_t end = locale.find_first_of("_.@");
    return std::string(locale.substr(0, end));
}

}  // namespace

const std::vector<std::string>& TranslatedLanguages() {
    static const std::vector<std::string> languages{"de", "fr", "es"};
    return languages;
}

std::string UserLanguage(const std::function<const char*(const char*)>& getenv) {
    std::string locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(variable);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.")) return {};
    std::vector<std::string> wanted;
    if (const char* list = getenv("LANGUAGE"); list && *list) {
        std::string_view rest(list);
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            if (const std::string language = LanguageOf(rest.substr(0, colon)); !language.empty()) {
                wanted.push_back(language);
            }
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    wanted.push_back(LanguageOf(locale));
    const auto& known = TranslatedLanguages();
    for (const std::string& language : wanted) {
        if (language == "en") return {};
        if (std::find(known.begin(), known.end(), language) != known.end()) return language;
    }
    return {};
}

bool InstallTranslations(const std::string& language) {
    for (const auto& catalogue : Installed()) QCoreApplication::removeTranslator(catalogue->translator.get());
    Installed().clear();
    Current().clear();
    if (language.empty()) return true;
    const QString name = QString::fromStdString(language);
    if (!Load(ProgramDataFile(QStringLiteral("translations/ovlet_%1.qm").arg(name)))) return false;
    // Qt's own words (the desktop's file and print dialogs, key names), where
    // the system has them.
    Load(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_%1.qm").arg(name));
    Current() = language;
    return true;
}

const std::string& CurrentLanguage() {
    return Current();
}

QString LocalizedDataFile(const QString& name) {
    if (!Current().empty()) {
        const QFileInfo info(name);
        const QString localized = ProgramDataFile(
            QStringLiteral("%1_%2.%3").arg(info.completeBaseName(), QString::fromStdString(Current()), info.suffix()));
        if (QFileInfo::exists(localized)) return localized;
    }
    return ProgramDataFile(name);
}
