// The programs in German, French and Spanish: the language comes from the
// environment, every text of the windows is translated, and the catalogues
// are complete. (That every label still fits its box in each language is
// checked with the layout.)
#include <QAbstractButton>
#include <QAccessible>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <map>
#include <set>

#include "controls/link_button.h"
#include "files/user_languages.h"
#include "picture/text_exception.h"
#include "platform/qt/controls_basic.h"
#include "platform/qt/scripted_ui.h"
#include "resources/catalogue/catalogue.h"
#include "resources/catalogue/catalogue_table.h"
#include "viewer/viewer_dialog.h"
#include "window/about_dialog.h"
#include "window/card_messages.h"
#include "window/translations.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

// Messages of the picture library as it throws them, one of each kind.
const std::pair<int, const char*> kDecoderMessages[] = {
    {picture::DECERR_UNKNOWN_TYPE, "Decoder error: Unknown file type.\n"},
    {picture::DECERR_SIGNATURE, "Decoder error: Bitmap decoder: This isn't a bitmap.\n"},
    {picture::DECERR_FORMAT, "Decoder error: Unknown TGA image type.\n"},
    {picture::DECERR_UNSUPPORTED, "Decoder error: PICT contained only vector data!\n\n"},
    {picture::DECERR_END_OF_DATA, "End of file reached while decoding.\n"},
    {picture::DECERR_NO_MEMORY, "Decoder error: Out of memory for the PNG decoder.\n"},
    {picture::DECERR_FILE_NOT_FOUND, "Decoder error: File not found.\n"},
    {picture::DECERR_PATH_NOT_FOUND, "Decoder error: Path not found.\n"},
    {picture::DECERR_ACCESS, "Decoder error: Access denied.\n"},
};

TEST(Translations, TheLanguageComesFromTheEnvironmentAsTheCLibraryReadsIt) {
    struct Case {
        std::map<std::string, std::string> environment;
        const char* language;
    };
    const Case cases[] = {
        {{}, ""},
        {{{"LANG", "de_DE.UTF-8"}}, "de"},
        {{{"LANG", "fr_CA"}}, "fr"},
        {{{"LANG", "es_MX.UTF-8@euro"}}, "es"},
        {{{"LANG", "en_GB.UTF-8"}}, ""},
        {{{"LANG", "it_IT.UTF-8"}}, ""},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR.UTF-8"}}, "fr"},
        {{{"LC_MESSAGES", "fr_FR.UTF-8"}, {"LC_ALL", "es_ES.UTF-8"}}, "es"},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "C"}}, ""},
        {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "de"}}, ""},
        {{{"LANG", "POSIX"}}, ""},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "it:fr:de"}}, "fr"},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "en:de"}}, ""},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", ""}}, "de"},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const auto& [name, value] : c.environment) trace += name + "=" + value + " ";
        SCOPED_TRACE(trace);
        EXPECT_EQ(catalogue::ChooseLanguage(files::UserLanguagesFromEnvironment([&](const char* name) -> const char* {
                      const auto it = c.environment.find(name);
                      return it == c.environment.end() ? nullptr : it->second.c_str();
                  })),
                  c.language);
    }
}

// Every text a window shows or names, in a fixed order: labels, group
// captions, tabs, tool tips, accessible names, the caption and the menu.
std::vector<QString> WindowTexts(platform::TemplateDialog& window, QMenu* menu) {
    std::vector<QString> texts{window.windowTitle()};
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(child)) texts.push_back(label->text());
        if (auto* group = qobject_cast<platform::GroupFrame*>(child)) texts.push_back(group->Title());
        if (auto* bar = qobject_cast<QTabBar*>(child)) {
            for (int i = 0; i < bar->count(); ++i) texts.push_back(bar->tabText(i));
        }
        // (A bitmap button's caption is never shown: its tool tip names it.)
        if (platform::qt::Hosted<controls::CLinkButton>(child))
            texts.push_back(qobject_cast<QAbstractButton*>(child)->text());
        texts.push_back(child->toolTip());
        if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child)) {
            texts.push_back(accessible->text(QAccessible::Name));
        }
    }
    if (menu) {
        for (QAction* action : menu->actions()) texts.push_back(action->text());
    }
    return texts;
}

struct Snapshot {
    std::vector<QString> texts;
    QString prompt;  // what New asks
    QString help;    // the manual Help opens
};

Snapshot TakeSnapshot(platform::ScriptedUi& ui) {
    Snapshot shot;
    for (bool viewer : {false, true}) {
        std::unique_ptr<CardWindowOnQt> window;
        if (viewer) {
            window = std::make_unique<CardOnQt<viewer::CViewerDialog>>();
        } else {
            window = std::make_unique<CardOnQt<maker::CMakerDialog>>();
        }
        window->Create();
        const auto texts = WindowTexts(*window, window->WindowMenu());
        shot.texts.insert(shot.texts.end(), texts.begin(), texts.end());
        AboutOnQt about(viewer ? viewer::kViewerAbout : maker::kMakerAbout);
        const auto aboutTexts = WindowTexts(about.dialog, nullptr);
        shot.texts.insert(shot.texts.end(), aboutTexts.begin(), aboutTexts.end());
        if (!viewer) {
            ui.calls.clear();
            qobject_cast<QAbstractButton*>(window->Item(resources::kIdNew))->click();
            shot.prompt = ui.calls.empty() ? QString() : ui.calls[0].text;
            qobject_cast<QAbstractButton*>(window->Item(resources::kIdHelp))->click();
            shot.help = ui.Of("help").empty() ? QString() : QFileInfo(ui.Of("help")[0].text).fileName();
        }
    }
    return shot;
}

// Words a language writes as English does, and the programs' names.
const std::map<std::string, std::set<QString>> kSameAsEnglish = {
    {"de", {"E-Mail:", "E-Mail", "Fax:", "Fax", "OK", "Ovlet Maker Version 1.0", "Ovlet Viewer Version 1.0"}},
    {"fr", {"Image", "Contact", "OK", "Fax"}},
    {"es", {"Fax:", "Fax"}},
};
const std::set<QString> kNames = {"Norvane Ovlet Maker", "Norvane Ovlet Viewer", ""};

TEST_F(WindowTest, EveryWindowTextIsTranslated) {
    const Snapshot english = TakeSnapshot(ui);
    for (const std::string& language : TranslatedLanguages()) {
        SCOPED_TRACE(language);
        ASSERT_TRUE(InstallTranslations(language));
        EXPECT_EQ(CurrentLanguage(), language);
        const Snapshot translated = TakeSnapshot(ui);
        ASSERT_EQ(translated.texts.size(), english.texts.size());
        for (std::size_t i = 0; i < english.texts.size(); ++i) {
            const QString& text = english.texts[i];
            if (translated.texts[i] != text || kNames.count(text) || kSameAsEnglish.at(language).count(text)) continue;
            ADD_FAILURE() << "left in English: " << text.toStdString();
        }
        EXPECT_NE(translated.prompt, english.prompt);
        EXPECT_EQ(translated.help, QStringLiteral("ovmake-help_%1.html").arg(QString::fromStdString(language)));
        // The picture library's messages by their kind, none left in English.
        for (const auto& [code, text] : kDecoderMessages) {
            const QString shown = QString::fromStdString(DecoderMessageText(code, text));
            EXPECT_FALSE(shown.contains(QStringLiteral("Decoder error"))) << text;
            EXPECT_FALSE(shown.contains(QString::fromLatin1(text).trimmed().section(QChar(' '), -2))) << text;
            const card::CardNote note{card::CardMessageIcon::Exclamation, card::CardNoteId::PictureNotShown, {text}};
            EXPECT_EQ(
                QString::fromStdString(CardNoteMessage(note, code, text)),
                QCoreApplication::translate("CardMessages", "The card's picture cannot be shown.\n\n%1").arg(shown));
        }
        // The card's own messages, with their variable parts kept.
        for (const auto& [id, words] : CardNoteWords()) {
            const card::CardNote note{card::CardMessageIcon::Exclamation, id, {"X9", "Y8"}};
            const QString shown = QString::fromStdString(CardNoteMessage(note));
            EXPECT_NE(shown, QString::fromStdString(card::CardNoteText(note))) << words;
            EXPECT_EQ(shown.contains(QStringLiteral("X9")), std::string_view(words).find("%1") != std::string::npos)
                << words;
        }
        EXPECT_NE(ShortPictureText(), kShortPictureMessage);
        EXPECT_NE(FieldLimitText(9), "Please enter no more than 9 characters.");
        EXPECT_NE(FieldLimitText(9).find('9'), std::string::npos);
    }
    ASSERT_TRUE(InstallTranslations({}));
    EXPECT_EQ(TakeSnapshot(ui).texts, english.texts) << "English again, word for word";
    // In English the window words every note as the codec does, from one table
    // that has every kind of note.
    EXPECT_EQ(CardNoteWords().size(), static_cast<std::size_t>(card::CardNoteId::EMailNotSingle) + 1);
    for (const auto& [id, words] : CardNoteWords()) {
        EXPECT_STREQ(words, card::CardNotePattern(id));
        card::CardNote note{card::CardMessageIcon::Exclamation, id, {"/tmp/card.ovt"}};
        if (id == card::CardNoteId::WriteFailed) note.arguments.emplace_back("No space left on device");
        EXPECT_EQ(CardNoteMessage(note), card::CardNoteText(note)) << words;
    }
    for (const auto& [code, text] : kDecoderMessages) {
        EXPECT_EQ(DecoderMessageText(code, text), picture::MessageLine(text)) << "English as thrown";
    }
    EXPECT_EQ(english.help, QStringLiteral("ovmake-help.html"));
}

// In each language the labels agree about colons: all end in one or none
// does (the boxes drawn for the English labels leave no room for a colon
// after the translations, so they carry none).
TEST(Translations, LabelsAgreeAboutColons) {
    for (std::size_t l = 0; l < catalogue::table::kLanguageCount; ++l) {
        const catalogue::table::Language& language = catalogue::table::kLanguages[l];
        SCOPED_TRACE(language.name);
        std::map<bool, QStringList> byColon;
        for (std::size_t i = 0; i < language.count; ++i) {
            if (std::string_view(language.entries[i].context) != "CardDialog") continue;
            const QString translation = QString::fromUtf8(language.entries[i].translation);
            byColon[translation.trimmed().endsWith(QChar(':'))] << translation;
        }
        EXPECT_GE(byColon[false].size() + byColon[true].size(), 20);
        EXPECT_TRUE(byColon[false].isEmpty() || byColon[true].isEmpty())
            << "with a colon: " << byColon[true].join(QStringLiteral(" | ")).toStdString()
            << "; without: " << byColon[false].join(QStringLiteral(" | ")).toStdString();
    }
}

// (That every text of every catalogue has its translation is checked on the
// .po files themselves: tests/catalogue.)

}  // namespace
}  // namespace ovlet::window
