#include "window/translations.h"

#include <algorithm>

#include "files/user_languages.h"
#include "platform/face.h"
#include "resources/catalogue/catalogue.h"

namespace ovlet::window {

const std::vector<std::string>& TranslatedLanguages() {
    return catalogue::Languages();
}

std::string UserLanguage() {
    return catalogue::ChooseLanguage(files::UserLanguages());
}

bool InstallTranslations(const std::string& language) {
    const auto& known = catalogue::Languages();
    const bool found = language.empty() || std::find(known.begin(), known.end(), language) != known.end();
    catalogue::SetLanguage(found ? language : std::string());
    if (platform::HasFace()) platform::CurrentFace().LanguageChanged(catalogue::Language());
    return found;
}

const std::string& CurrentLanguage() {
    return catalogue::Language();
}

}  // namespace ovlet::window
