// The maker's commands with a scripted desktop: every question, dialog and
// answer in order, and what ends up on disk.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>

#include "controls/picture_static.h"
#include "maker/splash_dialog.h"
#include "window/card_app.h"
#include "window/card_messages.h"
#include "window_test_support.h"

namespace ovlet::window {
namespace {

const QString kSaveChanges = QStringLiteral("Do you wish to save your changes to the current document?");
const QString kSaveBeforeExit = QStringLiteral("Do you wish to save your changes before you exit?");
const QString kCannotSave = QStringLiteral("Unable to save file with this name.  Please try a different name.");

class MakerTest : public WindowTest {
protected:
    // Clicks a toolbar button as the user does.
    static void Click(CardWindowOnQt& window, int id) { qobject_cast<QAbstractButton*>(window.Item(id))->click(); }
};

TEST_F(MakerTest, NewOnAnUntouchedCardAsksAndCancellingTheSaveKeepsTheCard) {
    auto window = Open();
    window->SetItemText(resources::kIdCompany, QStringLiteral("Typed Co"));
    ui.messageAnswers = {platform::MessageAnswer::Yes};
    ui.fileAnswers = {std::nullopt};
    Click(*window, resources::kIdNew);
    ASSERT_EQ(ui.calls.size(), 2u);
    EXPECT_EQ(ui.calls[0].text, kSaveChanges);
    EXPECT_EQ(ui.calls[0].icon, platform::MessageIcon::Question);
    EXPECT_EQ(ui.calls[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(ui.calls[1].kind, QStringLiteral("file"));
    EXPECT_EQ(ui.calls[1].file.initialName, QStringLiteral("Untitled"));
    EXPECT_TRUE(ui.calls[1].file.save);
    EXPECT_EQ(ui.calls[1].file.defaultExtension, QStringLiteral(".ovt"));
    EXPECT_EQ(ui.calls[1].file.filters[0].description, QStringLiteral("Electronic Business Card (.ovt)"));
    EXPECT_EQ(window->ItemText(resources::kIdCompany), QStringLiteral("Typed Co"))
        << "a save that did not happen ends nothing";

    ui.messageAnswers = {platform::MessageAnswer::No};
    Click(*window, resources::kIdNew);
    EXPECT_EQ(window->ItemText(resources::kIdCompany), QString());
    EXPECT_EQ(window->ItemText(resources::kIdCurrentFile), QStringLiteral("Untitled"));
}

TEST_F(MakerTest, OpenThenCancelLeavesAnEmptyCard) {
    auto window = Open(SamplesDir() + "/sample.ovt");
    ui.messageAnswers = {platform::MessageAnswer::No};
    ui.fileAnswers = {std::nullopt};
    Click(*window, resources::kIdOpen);
    ASSERT_EQ(ui.calls.size(), 2u);
    EXPECT_EQ(ui.calls[0].text, kSaveChanges);
    EXPECT_FALSE(ui.calls[1].file.save);
    EXPECT_EQ(ui.calls[1].file.initialName, QString());
    EXPECT_EQ(window->ItemText(resources::kIdCompany), QString());
    EXPECT_EQ(window->ItemText(resources::kIdCurrentFile), QStringLiteral("Untitled"));
    EXPECT_TRUE(window->PicturePanel()->GetPictureFile().empty());
    EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("N/A"));
}

TEST_F(MakerTest, OpenReadsTheChosenCard) {
    auto window = Open();
    ui.messageAnswers = {platform::MessageAnswer::No};
    ui.fileAnswers = {QString::fromStdString(SamplesDir() + "/sample.ovt")};
    Click(*window, resources::kIdOpen);
    EXPECT_EQ(window->ItemText(resources::kIdCompany), QStringLiteral("Harbour Light Instruments"));
    EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("320 x 200"));
    EXPECT_EQ(window->Record().CurrentPath, SamplesDir() + "/sample.ovt");
}

TEST_F(MakerTest, SaveOnAReadCardWritesWithoutADialog) {
    ScratchDir dir;
    WriteCard(dir / "a.ovt", CompanyCard("Acme"));
    auto window = Open(dir / "a.ovt");
    window->SetItemText(resources::kIdCity, QStringLiteral("Lyon"));
    Click(*window, resources::kIdSave);
    EXPECT_TRUE(ui.calls.empty());
    card::CardRecord back;
    card::RecordOnlySide side(back);
    EXPECT_TRUE(card::ReadCardFile(dir / "a.ovt", back, side));
    EXPECT_EQ(back.City, "Lyon");
    EXPECT_EQ(back.Company, "Acme");
}

TEST_F(MakerTest, SaveToANewNameShowsItsPath) {
    ScratchDir dir;
    auto window = Open();
    window->SetItemText(resources::kIdCompany, QStringLiteral("New Co"));
    ui.fileAnswers = {QString::fromStdString(dir / "new.ovt")};
    Click(*window, resources::kIdSave);
    EXPECT_EQ(window->ItemText(resources::kIdCurrentFile), QString::fromStdString(dir / "new.ovt"));
    EXPECT_TRUE(std::filesystem::exists(dir / "new.ovt"));
}

TEST_F(MakerTest, SaveAsCancelledOrFailingKeepsTheEarlierTarget) {
    ScratchDir dir;
    WriteCard(dir / "a.ovt", CompanyCard("Acme"));
    auto window = Open(dir / "a.ovt");
    ui.fileAnswers = {std::nullopt, QString::fromStdString(dir / "no/such/dir/b.ovt")};
    Click(*window, resources::kIdSaveAs);
    EXPECT_EQ(window->Record().CurrentPath, dir / "a.ovt");
    Click(*window, resources::kIdSaveAs);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], kCannotSave);
    EXPECT_EQ(window->Record().CurrentPath, dir / "a.ovt");
    EXPECT_EQ(window->Record().CurrentFileLabel, dir / "a.ovt");
    // The next Save writes to the earlier file without asking.
    window->SetItemText(resources::kIdCompany, QStringLiteral("Acme 2"));
    ui.calls.clear();
    Click(*window, resources::kIdSave);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MakerTest, SaveWithAFieldOverItsLimitWritesNothing) {
    ScratchDir dir;
    card::CardRecord card;
    card.City = std::string(30, 'C');
    WriteCard(dir / "a.ovt", card);
    const auto before = FileBytes(dir / "a.ovt");
    auto window = Open(dir / "a.ovt");
    window->SetItemText(resources::kIdCompany, QStringLiteral("Changed"));
    Click(*window, resources::kIdSave);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], QStringLiteral("Please enter no more than 25 characters."));
    EXPECT_EQ(FileBytes(dir / "a.ovt"), before);
    EXPECT_EQ(window->focusWidget(), window->Item(resources::kIdCity));
}

// A field typed exactly to its limit saves; one character more, and Save
// shows the limit and writes nothing.
TEST_F(MakerTest, EveryFieldSavesAtItsLimitAndNotOneAbove) {
    ScratchDir dir;
    auto window = Open();
    for (const LimitedField& field : kLimitedFields) {
        window->SelectTab(field.tab);
        QTest::keyClicks(window->Item(field.id), QString(field.limit, QChar('a')));
    }
    ui.fileAnswers = {QString::fromStdString(dir / "full.ovt")};
    Click(*window, resources::kIdSave);
    EXPECT_TRUE(Messages().empty());
    card::CardRecord back;
    card::RecordOnlySide side(back);
    EXPECT_TRUE(card::ReadCardFile(dir / "full.ovt", back, side));
    for (const card::CardFieldInfo& field : card::kCardFields) {
        if (field.multiLine) continue;
        EXPECT_EQ(back.*field.member, std::string(static_cast<std::size_t>(field.limit), 'a')) << field.name;
    }
    const auto saved = FileBytes(dir / "full.ovt");
    for (const LimitedField& field : kLimitedFields) {
        SCOPED_TRACE(field.id);
        ui.calls.clear();
        window->SetItemText(field.id, QString(field.limit + 1, QChar('b')));
        Click(*window, resources::kIdSave);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], LimitMessage(field.limit));
        EXPECT_EQ(FileBytes(dir / "full.ovt"), saved);
        window->SetItemText(field.id, QString(field.limit, QChar('a')));
    }
}

TEST_F(MakerTest, ExitAndEveryOtherWayOutAskFirst) {
    struct Case {
        const char* name;
        void (*leave)(CardWindowOnQt&);
        bool byKey;  // a stray key: the question may be taken back
    };
    const Case cases[] = {
        {"Exit button", [](CardWindowOnQt& w) { Click(w, resources::kIdExit); }, false},
        {"close box", [](CardWindowOnQt& w) { w.close(); }, false},
        {"Escape", [](CardWindowOnQt& w) { QTest::keyClick(&w, Qt::Key_Escape); }, true},
        {"Enter in a field",
         [](CardWindowOnQt& w) {
             w.SelectTab(1);
             QTest::keyClick(w.Item(resources::kIdCompany), Qt::Key_Return);
         },
         true},
        {"Enter on the Image page",
         [](CardWindowOnQt& w) { QTest::keyClick(w.Item(resources::kIdPicture), Qt::Key_Return); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.calls.clear();
        auto window = Open();
        // Yes, then cancel the Save dialog: the window stays.
        ui.messageAnswers = {platform::MessageAnswer::Yes};
        ui.fileAnswers = {std::nullopt};
        c.leave(*window);
        QApplication::processEvents();
        ASSERT_FALSE(ui.calls.empty());
        EXPECT_EQ(ui.calls[0].text, kSaveBeforeExit);
        EXPECT_EQ(ui.calls[0].buttons,
                  c.byKey ? platform::MessageButtons::YesNoCancel : platform::MessageButtons::YesNo);
        EXPECT_TRUE(window->isVisible());
        if (c.byKey) {
            // Cancel goes back to the card: nothing saved, nothing lost.
            ui.calls.clear();
            window->SetItemText(resources::kIdCompany, QStringLiteral("Typed"));
            ui.messageAnswers = {platform::MessageAnswer::Cancel};
            c.leave(*window);
            QApplication::processEvents();
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(ui.Of("file").empty());
            EXPECT_EQ(window->ItemText(resources::kIdCompany), QStringLiteral("Typed"));
        }
        // No: the window ends without saving.
        ui.messageAnswers = {platform::MessageAnswer::No};
        c.leave(*window);
        QApplication::processEvents();
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(window->result(), resources::kIdCancel);
    }
}

std::string PictureOfSize(const ScratchDir& dir, std::size_t size) {
    // The sample JPEG padded after its end marker: decoders stop at the marker.
    auto bytes = FileBytes(SamplesDir() + "/sample.jpg");
    bytes.resize(size, 0);
    const std::string path = dir / ("p" + std::to_string(size) + ".jpg");
    WriteFile(path, bytes);
    return path;
}

TEST_F(MakerTest, ImportAdvisesAbove35000BytesAndStoresTheBytesUnchanged) {
    ScratchDir dir;
    const QString advice = QStringLiteral("Ovlet Maker will import the selected image.");
    for (std::size_t size : {35000u, 35001u}) {
        SCOPED_TRACE(size);
        ui.calls.clear();
        auto window = Open();
        window->SelectTab(1);
        window->SetItemText(resources::kIdCompany, QStringLiteral("Typed"));
        const std::string picture = PictureOfSize(dir, size);
        ui.fileAnswers = {QString::fromStdString(picture)};
        Click(*window, resources::kIdImport);
        const auto messages = Messages();
        EXPECT_EQ(messages.size(), size > 35000 ? 1u : 0u);
        if (!messages.empty()) {
            EXPECT_TRUE(messages[0].startsWith(advice));
        }
        EXPECT_EQ(ui.calls[0].file.filters.size(), 2u);
        EXPECT_EQ(ui.calls[0].file.filters[1].description, QStringLiteral(" Portable Network Graphics (.png)"));
        EXPECT_EQ(ui.calls[0].file.defaultExtension, QStringLiteral(".jpg"));
        EXPECT_EQ(window->Record().PictureLength, static_cast<std::int32_t>(size));
        EXPECT_EQ(window->Record().PictureBytes, FileBytes(picture));
        EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("320 x 200"));
        EXPECT_EQ(window->ItemText(resources::kIdCompany), QStringLiteral("Typed"));
    }
}

TEST_F(MakerTest, ImportThatFailsKeepsTheCardsPicture) {
    ScratchDir dir;
    WriteFile(dir / "bad.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3});
    WriteFile(dir / "text.png", {'h', 'e', 'l', 'l', 'o'});
    // Over the size that draws the advice: refused without the advice first.
    WriteFile(dir / "large.png", std::vector<std::uint8_t>(40000, 'x'));
    const std::pair<std::string, QString> cases[] = {
        {dir / "missing.jpg", QStringLiteral("Error opening graphic file.")},
        {dir / "bad.jpg", QStringLiteral("The picture cannot be imported.")},
        {dir / "text.png", QStringLiteral("The picture cannot be imported.")},
        {dir / "large.png",
         QStringLiteral("The picture cannot be imported.\n\nDecoder error: Unknown picture type (starts with 0x78 "
                        "0x78 0x78 0x78 0x78 0x78 0x78 0x78)")},
    };
    auto window = Open(SamplesDir() + "/sample.ovt");
    const auto original = window->Record().PictureBytes;
    for (const auto& [path, message] : cases) {
        SCOPED_TRACE(path);
        ui.calls.clear();
        ui.fileAnswers = {QString::fromStdString(path)};
        Click(*window, resources::kIdImport);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_TRUE(Messages()[0].startsWith(message)) << Messages()[0].toStdString();
        EXPECT_EQ(window->Record().PictureBytes, original);
        EXPECT_FALSE(window->PicturePanel()->GetPictureFile().empty());
        EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("320 x 200"));
    }
}

TEST_F(MakerTest, SecondImportReplacesTheFirstAndRemoveDropsIt) {
    ScratchDir dir;
    auto window = Open();
    ui.fileAnswers = {QString::fromStdString(PictureOfSize(dir, 20000)),
                      QString::fromStdString(PictureOfSize(dir, 12000)), QString::fromStdString(dir / "c.ovt")};
    Click(*window, resources::kIdImport);
    Click(*window, resources::kIdImport);
    Click(*window, resources::kIdSave);
    card::CardRecord back;
    card::RecordOnlySide side(back);
    EXPECT_TRUE(card::ReadCardFile(dir / "c.ovt", back, side));
    EXPECT_EQ(back.PictureBytes, FileBytes(dir / "p12000.jpg"));

    Click(*window, resources::kIdRemove);
    Click(*window, resources::kIdRemove);  // harmless on a card without a picture
    EXPECT_EQ(window->ItemText(resources::kIdImageSize), QStringLiteral("N/A"));
    EXPECT_TRUE(window->PicturePanel()->GetPictureFile().empty());
    Click(*window, resources::kIdSave);
    card::CardRecord none;
    card::RecordOnlySide noneSide(none);
    EXPECT_TRUE(card::ReadCardFile(dir / "c.ovt", none, noneSide));
    EXPECT_EQ(none.PictureLength, 0);
}

TEST_F(MakerTest, HelpOpensTheManualOrSaysItCannot) {
    auto window = Open();
    Click(*window, resources::kIdHelp);
    ASSERT_EQ(ui.Of("help").size(), 1u);
    EXPECT_TRUE(ui.Of("help")[0].text.endsWith(QStringLiteral("ovmake-help.html")));
    EXPECT_TRUE(Messages().empty());
    ui.helpResult = false;
    Click(*window, resources::kIdHelp);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], QStringLiteral("Failed to launch help."));
}

TEST(CommandLine, OneNameWithTheQuoteRule) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"ovmake"}, ""},
        {{"ovmake", "card.ovt"}, "card.ovt"},
        {{"ovmake", "\"/home/ann/My Cards/a.ovt\""}, "/home/ann/My Cards/a.ovt"},
        {{"ovmake", "/home/ann/My", "Cards/a.ovt"}, "/home/ann/My Cards/a.ovt"},
        {{"ovmake", "\"a.ovt"}, "a.ov"},
        {{"ovmake", "\""}, ""},
        {{"ovmake", "\"\""}, ""},
        {{"ovmake", "K\xC3\xB6ln.ovt"}, "K\xC3\xB6ln.ovt"},
    };
    for (const auto& [arguments, name] : cases) EXPECT_EQ(CardFileFromCommandLine(arguments), name);
}

// The splash picture is read from the current folder first, through the
// programs' one reader: a picture of one's own there is shown; a pipe of that
// name is passed over at once for the installed picture.
TEST_F(MakerTest, SplashReadsMakerJpgFromTheCurrentFolderOnlyIfItIsAFile) {
    ScratchDir dir;
    const auto cwd = std::filesystem::current_path();
    QImage own(40, 30, QImage::Format_RGB32);
    own.fill(Qt::darkGreen);
    const QImage shipped(QString::fromUtf8(OVLET_SOURCE_DIR "/resources/data/maker.jpg"));
    ASSERT_FALSE(shipped.isNull());
    for (bool pipe : {false, true}) {
        SCOPED_TRACE(pipe ? "a pipe" : "a picture");
        std::filesystem::remove(dir / "maker.jpg");
        if (pipe) {
            ASSERT_EQ(::mkfifo((dir / "maker.jpg").c_str(), 0600), 0);
        } else {
            ASSERT_TRUE(own.save(QString::fromStdString(dir / "maker.jpg"), "JPG"));
        }
        std::filesystem::current_path(dir.path());
        maker::CSplashDialog splash(maker::MakerSplashPictures(), 50);
        splash.DoModal();
        std::filesystem::current_path(cwd);
        const QSize expected = pipe ? shipped.size() : own.size();
        EXPECT_EQ(splash.Panel()->PictureSize(), std::make_pair(expected.width(), expected.height()));
    }
}

TEST_F(MakerTest, SplashClosesByTimerAndByEscape) {
    {
        maker::CSplashDialog splash(maker::MakerSplashPictures(), 50);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(splash.DoModal(), platform::kIdCancel);
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_EQ(splash.PictureName(), "maker.jpg");
        EXPECT_FALSE(splash.Panel()->GetPictureFile().empty()) << "a splash picture is always shown";
    }
    {
        maker::CSplashDialog splash(maker::MakerSplashPictures(), 60000);
        QTimer::singleShot(20, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
        QElapsedTimer clock;
        clock.start();
        splash.DoModal();
        EXPECT_LT(clock.elapsed(), 5000);
    }
}

// Make a card through the window, save it, and read it back with the ovlet tool.
TEST_F(MakerTest, CardMadeInTheWindowReadsBackWithTheTool) {
    ScratchDir dir;
    auto window = Open();
    const std::pair<int, QString> typed[] = {
        {resources::kIdCompany, QStringLiteral("Caf\u00e9 Nord")},
        {resources::kIdCity, QStringLiteral("Troms\u00f8")},
        {resources::kIdStateProvince, QStringLiteral("Troms")},
        {resources::kIdCountry, QStringLiteral("Norway")},
        {resources::kIdPostalCode, QStringLiteral("9008")},
        {resources::kIdWebSite, QStringLiteral("cafe.example")},
        {resources::kIdFirstName, QStringLiteral("Ida")},
        {resources::kIdLastName, QStringLiteral("Berg")},
        {resources::kIdMiddleName, QStringLiteral("M")},
        {resources::kIdJobTitle, QStringLiteral("Owner")},
        {resources::kIdEMail, QStringLiteral("ida@cafe.example")},
        {resources::kIdFax, QStringLiteral("+47 1")},
        {resources::kIdDepartment, QStringLiteral("Kitchen")},
        {resources::kIdPhone1Description, QStringLiteral("Mobile")},
        {resources::kIdPhone1Number, QStringLiteral("+47 2")},
        {resources::kIdPhone2Description, QStringLiteral("Home")},
        {resources::kIdPhone2Number, QStringLiteral("+47 3")},
        {resources::kIdStreetAddress, QStringLiteral("Storgata 1\r\nBox 2")},
        {resources::kIdGeneralInformation, QStringLiteral("Open daily \u2013 8 to 16")},
    };
    for (const auto& [id, text] : typed) window->SetItemText(id, text);
    ui.fileAnswers = {QString::fromStdString(dir / "made.ovt")};
    Click(*window, resources::kIdSave);
    const std::string command = std::string(OVLET_BIN) + " show --json '" + (dir / "made.ovt") + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string json;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) json.append(buffer, n);
    ASSERT_EQ(::pclose(pipe), 0);
    for (const card::CardFieldInfo& field : card::kCardFields) {
        QString value;
        for (const auto& [id, text] : typed) {
            if (id == ControlOf(field.member)) value = text;
        }
        QString escaped = value;
        escaped.replace(QStringLiteral("\r"), QStringLiteral("\\r"))
            .replace(QStringLiteral("\n"), QStringLiteral("\\n"));
        const std::string expected = std::string("\"") + field.name + "\": \"" + escaped.toStdString() + "\"";
        EXPECT_NE(json.find(expected), std::string::npos) << expected << "\n" << json;
    }
}

}  // namespace

namespace {

TEST_F(MakerTest, ImportAndRemoveStopWhileAFieldIsOverItsLimit) {
    ScratchDir dir;
    card::CardRecord card;
    card.City = std::string(30, 'C');
    WriteCard(dir / "a.ovt", card);
    auto window = Open(dir / "a.ovt");
    window->SetItemText(resources::kIdCompany, QStringLiteral("Typed Co"));
    for (int command : {resources::kIdRemove, resources::kIdImport}) {
        SCOPED_TRACE(command);
        ui.calls.clear();
        Click(*window, command);
        ASSERT_EQ(ui.calls.size(), 1u) << "no dialog after the limit message";
        EXPECT_EQ(Messages()[0], QStringLiteral("Please enter no more than 25 characters."));
        EXPECT_EQ(window->ItemText(resources::kIdCompany), QStringLiteral("Typed Co"));
    }
}

TEST_F(MakerTest, MultiLineFieldsKeepEveryCharacter) {
    auto window = Open();
    const std::string text =
        "a\xA0"
        "b\r\nc\x80";  // no-break space, CR LF, euro sign
    window->SetEditText(&card::CardRecord::StreetAddress, text);
    window->SetEditText(&card::CardRecord::GeneralInformation, text);
    EXPECT_EQ(window->GetEditText(&card::CardRecord::StreetAddress), text);
    EXPECT_EQ(window->GetEditText(&card::CardRecord::GeneralInformation), text);
}

// A file-size limit makes the write itself fail, as a full disk does: the
// user is told, the old card stays as it was, and Exit does not close the
// window over the unsaved card.
TEST_F(MakerTest, SaveThatFailsInWritingKeepsTheWindowAndTheOldCard) {
    ScratchDir dir;
    WriteCard(dir / "a.ovt", CompanyCard("Acme"));
    const auto before = FileBytes(dir / "a.ovt");
    auto window = Open(dir / "a.ovt");
    window->SetItemText(resources::kIdCity, QStringLiteral("Lyon"));
    ui.calls.clear();
    ui.messageAnswers = {platform::MessageAnswer::Yes};
    {
        struct FileSizeLimit {
            rlimit old{};
            void (*oldHandler)(int);
            explicit FileSizeLimit(rlim_t bytes) : oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
                ::getrlimit(RLIMIT_FSIZE, &old);
                rlimit small = old;
                small.rlim_cur = bytes;
                ::setrlimit(RLIMIT_FSIZE, &small);
            }
            ~FileSizeLimit() {
                ::setrlimit(RLIMIT_FSIZE, &old);
                std::signal(SIGXFSZ, oldHandler);
            }
        } limit(before.size());
        Click(*window, resources::kIdExit);
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(FileBytes(dir / "a.ovt"), before);
    ASSERT_EQ(Messages().size(), 2u);  // the question, then what went wrong
    EXPECT_NE(Messages()[1], kCannotSave);
    // Nothing is left beside the card.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST_F(MakerTest, FailedSaveAsLeavesTheLabelOnTheCardsFile) {
    ScratchDir dir;
    WriteCard(dir / "a.ovt", CompanyCard("Acme"));
    auto window = Open(dir / "a.ovt");
    ui.fileAnswers = {QString::fromStdString(dir / "no/such/dir/b.ovt")};
    Click(*window, resources::kIdSaveAs);
    Click(*window, resources::kIdRemove);  // shows the record again
    EXPECT_EQ(window->ItemText(resources::kIdCurrentFile), QString::fromStdString(dir / "a.ovt"));
    EXPECT_EQ(window->Record().CurrentPath, dir / "a.ovt");
}

TEST_F(MakerTest, ImportRefusesWhatIsNotARegularFile) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.jpg").c_str(), 0600), 0);  // would block a reader for ever
    auto window = Open();
    for (const std::string& path : {std::string("/dev/zero"), std::string("/tmp"), dir / "pipe.jpg"}) {
        SCOPED_TRACE(path);
        ui.calls.clear();
        ui.fileAnswers = {QString::fromStdString(path)};
        Click(*window, resources::kIdImport);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], QStringLiteral("Error opening graphic file."));
        EXPECT_EQ(window->Record().PictureLength, 0);
    }
}

// The real question box with Cancel: Escape and the close box are Cancel.
TEST(QuestionBox, EscapeCancelsAQuestionThatOffersCancel) {
    platform::SetUi(nullptr);
    for (bool closeBox : {false, true}) {
        QTimer::singleShot(0, [closeBox] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) return;
            if (closeBox) {
                box->close();
            } else {
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        const auto answer = platform::Ui().MessageBox(
            nullptr, QStringLiteral("Ovlet Maker"), QStringLiteral("Do you wish to save your changes before you exit?"),
            platform::MessageIcon::Question, platform::MessageButtons::YesNoCancel);
        EXPECT_EQ(answer, platform::MessageAnswer::Cancel) << closeBox;
    }
}

// The real question box: Escape is not an answer to a question about saving.
TEST(QuestionBox, EscapeDoesNotAnswer) {
    platform::SetUi(nullptr);
    bool stillOpenAfterEscape = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        QTest::keyClick(box, Qt::Key_Escape);
        QApplication::processEvents();
        stillOpenAfterEscape = box->isVisible();
        for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
            if (button->text() == QStringLiteral("&Yes")) button->click();
        }
    });
    const auto answer = platform::Ui().MessageBox(nullptr, QStringLiteral("Ovlet Maker"),
                                                  QStringLiteral("Do you wish to save your changes before you exit?"),
                                                  platform::MessageIcon::Question, platform::MessageButtons::YesNo);
    EXPECT_TRUE(stillOpenAfterEscape);
    EXPECT_EQ(answer, platform::MessageAnswer::Yes);
}

}  // namespace

namespace {

// A card that could not be read whole is never written over: the window holds
// no path, so every save asks for a name (the user cancels here) and the file
// keeps its bytes, whichever way the save is asked for.
TEST_F(MakerTest, ADamagedCardIsNotWrittenOverUnlessPickedAgain) {
    ScratchDir dir;
    card::CardRecord card;
    card.Company = "Harbour Light Instruments";
    card.StreetAddress = "Unit 4, Quayside Works";
    WriteCard(dir / "whole.ovt", card);
    const auto whole = FileBytes(dir / "whole.ovt");
    const std::size_t head = whole.size() - 19 - 4 - card.Company.size() - card.StreetAddress.size();
    auto cut = whole;
    cut.resize(head + 30);  // ends inside the street address
    auto damaged = std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(head));
    const std::uint8_t markers[] = {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF};  // two wide-text markers
    damaged.insert(damaged.end(), std::begin(markers), std::end(markers));
    // A picture block that ends before its stated length.
    card::CardRecord pictured = card;
    pictured.SetPicture(FileBytes(SamplesDir() + "/sample.jpg"));
    WriteCard(dir / "pictured.ovt", pictured);
    auto shortPicture = FileBytes(dir / "pictured.ovt");
    shortPicture.resize(shortPicture.size() - 2000);
    const std::pair<const char*, std::vector<std::uint8_t>> cards[] = {
        {"cut", cut}, {"damaged", damaged}, {"short picture", shortPicture}};
    {
        WriteFile(dir / "short.ovt", shortPicture);
        ui.calls.clear();
        auto window = Open(dir / "short.ovt");
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], QString::fromUtf8(kShortPictureMessage));
        EXPECT_EQ(ui.Of("message")[0].icon, platform::MessageIcon::Stop);
        EXPECT_EQ(window->ItemText(resources::kIdCompany), QStringLiteral("Harbour Light Instruments"));
    }
    const std::pair<const char*, std::function<void(CardOnQt<maker::CMakerDialog>&)>> saves[] = {
        {"Save", [](CardOnQt<maker::CMakerDialog>& w) { Click(w, resources::kIdSave); }},
        {"New, Yes", [](CardOnQt<maker::CMakerDialog>& w) { Click(w, resources::kIdNew); }},
        {"Open, Yes", [](CardOnQt<maker::CMakerDialog>& w) { Click(w, resources::kIdOpen); }},
        {"Exit, Yes", [](CardOnQt<maker::CMakerDialog>& w) { Click(w, resources::kIdExit); }},
        {"close box, Yes", [](CardOnQt<maker::CMakerDialog>& w) { w.close(); }},
    };
    for (const auto& [name, bytes] : cards) {
        for (const auto& [way, save] : saves) {
            SCOPED_TRACE(std::string(name) + ", " + way);
            const std::string path = dir / (std::string(name) + ".ovt");
            WriteFile(path, bytes);
            auto window = Open(path);
            EXPECT_EQ(window->Record().CurrentPath, "");
            ui.calls.clear();
            ui.messageAnswers = {platform::MessageAnswer::Yes};
            ui.fileAnswers = {std::nullopt};
            save(*window);
            EXPECT_EQ(FileBytes(path), bytes);
            const auto dialogs = ui.Of("file");
            ASSERT_EQ(dialogs.size(), 1u);
            EXPECT_TRUE(dialogs[0].file.save);
            EXPECT_EQ(dialogs[0].text, QStringLiteral("Untitled"));
        }
    }
    // Picked again in the Save dialog, the file is written.
    const std::string path = dir / "cut.ovt";
    auto window = Open(path);
    ui.fileAnswers = {QString::fromStdString(path)};
    Click(*window, resources::kIdSave);
    EXPECT_NE(FileBytes(path), cut);
}

// A name on the command line for a card that does not exist yet is the new
// card's name: no message, the name is shown, and Save creates the card there.
// A name that cannot be a card (no such folder, a folder) is reported.
TEST_F(MakerTest, ACommandLineNameForANewCardKeepsItsName) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "folder.ovt");
    struct Case {
        std::string path;
        bool kept;
    };
    const Case cases[] = {{dir / "new.ovt", true}, {dir / "no/such/new.ovt", false}, {dir / "folder.ovt", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ui.calls.clear();
        auto window = Open(c.path);
        EXPECT_EQ(Messages().size(), c.kept ? 0u : 1u);
        EXPECT_EQ(window->Record().CurrentPath, c.kept ? c.path : "");
        EXPECT_EQ(window->ItemText(resources::kIdCurrentFile),
                  c.kept ? QString::fromStdString(c.path) : QStringLiteral("Untitled"));
        if (!c.kept) continue;
        window->SetItemText(resources::kIdCompany, QStringLiteral("New Co"));
        Click(*window, resources::kIdSave);
        EXPECT_TRUE(ui.Of("file").empty());
        card::CardRecord back;
        card::RecordOnlySide side(back);
        EXPECT_TRUE(card::ReadCardFile(c.path, back, side));
        EXPECT_EQ(back.Company, "New Co");
    }
}

}  // namespace

namespace {

// A card the user may not write is not replaced, even where the user may
// create files. Root may write anything, so as root the case runs again in a
// child that has given up root.
TEST_F(MakerTest, SaveRefusesACardTheUserMayNotWrite) {
    if (::geteuid() == 0) {
        EXPECT_EQ(RunAsUnprivilegedUser("MakerTest.SaveRefusesACardTheUserMayNotWrite"), 0);
        return;
    }
    ScratchDir dir;  // the user's own folder
    card::CardRecord card;
    card.Company = "Acme";
    const std::string path = dir / "read-only.ovt";
    WriteCard(path, card);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const auto before = FileBytes(path);
    auto window = Open(path);
    window->SetItemText(resources::kIdCompany, QStringLiteral("Changed"));
    Click(*window, resources::kIdSave);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], kCannotSave);
    EXPECT_EQ(FileBytes(path), before);
}

}  // namespace
}  // namespace ovlet::window
