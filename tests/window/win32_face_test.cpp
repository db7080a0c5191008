// The Win32 face's dialogs as the system made them, under Wine: their size in
// pixels from the dialog font's own base units, and what the host's calls
// leave in the controls.
#include <windows.h>
// (after windows.h)
#include <commctrl.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "exchange/drawing/gdi_face.h"
#include "exchange/drawing/sheet_layout.h"
#include "files/input_file.h"
#include "platform/win32/accessibility.h"
#include "platform/win32/dialog_layout.h"
#include "platform/win32/win32_face.h"
#include "resources/control_ids.h"
#include "resources/dialog_templates.h"

namespace ovlet::window {

namespace drawing = exchange::drawing;

namespace {

using namespace platform;
using namespace platform::win32;

class Opened {
public:
    explicit Opened(const DialogTemplate& t) : dialog(t, handler) { window = dialog.Create(); }
    DialogHandler handler;
    Win32Dialog dialog;
    HWND window = nullptr;
};

// The base units of the dialog's font, measured as the system measures them.
BaseUnits Measured(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE letters{};
    const wchar_t* alphabet = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    GetTextExtentPoint32W(dc, alphabet, 52, &letters);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return BaseUnitsOf(letters.cx, metrics.tmHeight);
}

class Win32FaceTest : public ::testing::Test {
protected:
    Win32Face face;
    void SetUp() override { InstallFace(&face); }
    void TearDown() override { InstallFace(nullptr); }
};

TEST_F(Win32FaceTest, DialogsAndControlsAreSizedInTheFontsDialogUnits) {
    for (const DialogTemplate* t :
         {&resources::AboutDialogTemplate(), &resources::CardDialogTemplate(), &resources::SplashDialogTemplate()}) {
        SCOPED_TRACE(t->id);
        Opened opened(*t);
        // The heights and rows as written; across, as the font needs.
        const DialogTemplate fitted = FittedToFont(*t);
        ASSERT_EQ(fitted.controls.size(), t->controls.size());
        EXPECT_GE(fitted.width, t->width);
        EXPECT_EQ(fitted.height, t->height);
        ASSERT_NE(opened.window, nullptr);
        const BaseUnits units = Measured(opened.window);
        EXPECT_GT(units.x, 0);
        RECT client{};
        GetClientRect(opened.window, &client);
        EXPECT_EQ(client.right, HorizontalPixels(fitted.width, units.x));
        EXPECT_EQ(client.bottom, VerticalPixels(t->height, units.y));
        HDC dc = GetDC(opened.window);
        HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(opened.window, WM_GETFONT, 0, 0)));
        for (const ControlTemplate& control : fitted.controls) {
            if (control.id == kNoControl) continue;
            HWND item = opened.dialog.Item(control.id);
            ASSERT_NE(item, nullptr) << control.id;
            RECT r{};
            GetWindowRect(item, &r);
            MapWindowPoints(nullptr, opened.window, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, HorizontalPixels(control.x, units.x)) << control.id;
            EXPECT_EQ(r.top, VerticalPixels(control.y, units.y)) << control.id;
            // A one-line label is never cut or wrapped.
            if (control.kind == ControlKind::Static && control.height <= 10 && !control.text.empty()) {
                std::wstring text = Wide(control.text);
                std::erase(text, L'&');
                SIZE extent{};
                GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
                EXPECT_LE(extent.cx, r.right - r.left) << control.text;
            }
        }
        SelectObject(dc, before);
        ReleaseDC(opened.window, dc);
    }
}

TEST_F(Win32FaceTest, TextsCrossIntoTheSystemAndBack) {
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"accented", "Z\xC3\xBCrich", "Z\xC3\xBCrich"},
        {"beyond the first plane", "\xF0\x9F\x98\x80 ok", "\xF0\x9F\x98\x80 ok"},
        {"not UTF-8",
         "a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b"},
        {"lines", "one\r\ntwo", "one\r\ntwo"},
        {"ampersand", "Smith & Sons", "Smith & Sons"},
        {"empty", "", ""},
    };
    Opened opened(resources::CardDialogTemplate());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const int id : {resources::kIdStreetAddress, resources::kIdCompanyLine, resources::kIdFirstName}) {
            opened.dialog.SetText(id, c.in);
            EXPECT_EQ(opened.dialog.Text(id), c.out) << id;
        }
    }
    EXPECT_FALSE(opened.dialog.HasControl(4242));
    EXPECT_EQ(opened.dialog.Text(4242), "");
}

// An owner-drawn control that asks its host what the window's controls ask.
class Probe : public OwnerDrawnControl {
public:
    void Attach(ControlHost* controlHost) override {
        OwnerDrawnControl::Attach(controlHost);
        host->SetTabStop(true);
        host->SetAccessibleRole(AccessibleRole::Link);
        host->SetAccessibleName("Probe");
    }
    void Paint(Canvas&) override {}
    std::string Answers() const {
        return std::to_string(host->Width()) + "x" + std::to_string(host->Height()) + " '" + host->Text() + "' " +
               std::to_string(host->TextWidth("Wide text here", {true})) + " " +
               host->Elided("A line far too long for any of the buttons", 40, {});
    }
};

// Every control starts hidden (or none does): hidden, a control waits to be
// made until it is first shown.
class Hiding : public DialogHandler {
public:
    explicit Hiding(bool all) : hidden(all) {}
    bool ShownAtStart(int) const override { return !hidden; }
    void OnTextChanged(int id) override { changed.push_back(id); }
    std::unique_ptr<OwnerDrawnControl> MakeOwnerDrawn(int id) override {
        auto probe = std::make_unique<Probe>();
        probes[id] = probe.get();
        return probe;
    }
    bool hidden;
    std::vector<int> changed;
    std::map<int, Probe*> probes;
};

// What a control is, as far as the user or a screen reader can tell.
struct ControlLook {
    std::wstring className;
    LONG_PTR style = 0;
    LONG_PTR exStyle = 0;
    RECT box{};
    LOGFONTW font{};
    std::string text;
    LRESULT limit = 0;
    std::string name;
    int place = -1;  // among the dialog's children
};

void ExpectSame(const ControlLook& got, const ControlLook& want) {
    EXPECT_TRUE(got.className == want.className);
    EXPECT_EQ(got.style, want.style);
    EXPECT_EQ(got.exStyle, want.exStyle);
    EXPECT_TRUE(EqualRect(&got.box, &want.box))
        << got.box.left << "," << got.box.top << " " << got.box.right << "," << got.box.bottom << " against "
        << want.box.left << "," << want.box.top << " " << want.box.right << "," << want.box.bottom;
    const auto fontOf = [](const LOGFONTW& f) {
        return std::to_string(f.lfHeight) + " " + std::to_string(f.lfWeight) + " " + std::to_string(f.lfItalic) +
               std::to_string(f.lfUnderline) + std::to_string(f.lfCharSet) + " " + Utf8(f.lfFaceName);
    };
    EXPECT_EQ(fontOf(got.font), fontOf(want.font));
    EXPECT_EQ(got.text, want.text);
    EXPECT_EQ(got.limit, want.limit);
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.place, want.place);
}

ControlLook LookOf(HWND dialog, HWND item) {
    ControlLook look;
    wchar_t className[32] = {};
    GetClassNameW(item, className, 32);
    look.className = className;
    look.style = GetWindowLongPtrW(item, GWL_STYLE);
    look.exStyle = GetWindowLongPtrW(item, GWL_EXSTYLE);
    GetWindowRect(item, &look.box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&look.box), 2);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0)), sizeof look.font, &look.font);
    look.text = WindowText(item);
    look.limit = SendMessageW(item, EM_GETLIMITTEXT, 0, 0);
    look.name = AccessibleNameOf(item);
    int place = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++place) {
        if (child == item) look.place = place;
    }
    return look;
}

TEST_F(Win32FaceTest, AControlMadeOnItsFirstShowingIsTheOneTheTemplateWouldHaveMade) {
    const DialogTemplate& card = resources::CardDialogTemplate();
    Hiding early(false);
    Win32Dialog made(card, early);
    ASSERT_NE(made.Create(), nullptr);
    Hiding late(true);
    Win32Dialog waiting(card, late);
    ASSERT_NE(waiting.Create(), nullptr);
    // What the window does to its controls before they are on screen.
    const auto prepare = [](Win32Dialog& dialog, int id, int n) {
        dialog.SetText(id, "Line " + std::to_string(n) + " & more");
        dialog.SetLimit(id, 20 + n);
        dialog.SetReadOnly(id, n % 3 == 0);
        dialog.Enable(id, n % 4 != 0);
        dialog.SetShortening(id, n % 2 ? Shortening::End : Shortening::Middle);
        dialog.SetAccessibleName(id, "Name " + std::to_string(n));
    };
    int n = 0;
    int waited = 0;
    for (const ControlTemplate& control : card.controls) {
        if (control.id == kNoControl) continue;
        SCOPED_TRACE(control.id);
        ++n;
        prepare(made, control.id, n);
        prepare(waiting, control.id, n);
        if (!waiting.Item(control.id)) {
            ++waited;
            // Asked before it is made, it answers as the made one does.
            EXPECT_TRUE(waiting.HasControl(control.id));
            EXPECT_FALSE(waiting.IsShown(control.id));
            EXPECT_EQ(waiting.Text(control.id), made.Text(control.id));
            EXPECT_EQ(waiting.IsEnabled(control.id), made.IsEnabled(control.id));
            EXPECT_EQ(waiting.IsShortened(control.id), made.IsShortened(control.id));
            // An owner-drawn control's logic hears the same from its stand-in.
            if (late.probes.contains(control.id)) {
                EXPECT_EQ(late.probes[control.id]->Answers(), early.probes[control.id]->Answers());
            }
        }
    }
    // All wait but the tab control, which holds the pages.
    EXPECT_GT(waited, 40);
    EXPECT_NE(waiting.Item(resources::kIdTabs), nullptr);
    EXPECT_EQ(waiting.Item(resources::kIdPicture), nullptr);
    EXPECT_FALSE(late.probes.empty());
    // Shown from the last to the first, so each is made among others not yet there.
    for (auto control = card.controls.rbegin(); control != card.controls.rend(); ++control) {
        if (control->id == kNoControl) continue;
        made.Show(control->id, true);
        waiting.Show(control->id, true);
    }
    for (const ControlTemplate& control : card.controls) {
        if (control.id == kNoControl) continue;
        SCOPED_TRACE(control.id);
        HWND item = waiting.Item(control.id);
        ASSERT_NE(item, nullptr);
        ExpectSame(LookOf(waiting.Window(), item), LookOf(made.Window(), made.Item(control.id)));
        EXPECT_EQ(waiting.IsShortened(control.id), made.IsShortened(control.id));
        if (late.probes.contains(control.id)) {
            EXPECT_EQ(late.probes[control.id]->Answers(), early.probes[control.id]->Answers());
        }
    }
    // Made with its text, a control is no change of the user's.
    EXPECT_TRUE(late.changed.empty());
}

TEST_F(Win32FaceTest, EditLimitsReadOnlyAndTabPagesReachTheControls) {
    Opened opened(resources::CardDialogTemplate());
    HWND edit = opened.dialog.Item(resources::kIdFirstName);
    opened.dialog.SetLimit(resources::kIdFirstName, 5);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 5);
    // Typing stops at the limit; the program's own text does not.
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t c : std::wstring(L"abcdefgh")) SendMessageW(edit, WM_CHAR, c, 1);
    EXPECT_EQ(opened.dialog.Text(resources::kIdFirstName), "abcde");
    opened.dialog.SetText(resources::kIdFirstName, "abcdefgh");
    EXPECT_EQ(opened.dialog.Text(resources::kIdFirstName), "abcdefgh");

    opened.dialog.SetReadOnly(resources::kIdFirstName, true);
    EXPECT_TRUE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY);
    opened.dialog.SetReadOnly(resources::kIdFirstName, false);
    EXPECT_FALSE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY);

    EXPECT_EQ(opened.dialog.SelectedTab(resources::kIdTabs), -1);
    opened.dialog.AddTab(resources::kIdTabs, "Company");
    opened.dialog.AddTab(resources::kIdTabs, "Contact");
    EXPECT_EQ(SendMessageW(opened.dialog.Item(resources::kIdTabs), TCM_GETITEMCOUNT, 0, 0), 2);
    opened.dialog.SelectTab(resources::kIdTabs, 1);
    EXPECT_EQ(opened.dialog.SelectedTab(resources::kIdTabs), 1);
    // Not a tab control: nothing happens.
    opened.dialog.AddTab(resources::kIdFirstName, "x");
    EXPECT_EQ(opened.dialog.SelectedTab(resources::kIdFirstName), -1);

    opened.dialog.Show(resources::kIdFax, false);
    EXPECT_FALSE(opened.dialog.IsShown(resources::kIdFax));
    opened.dialog.Enable(resources::kIdFax, false);
    EXPECT_FALSE(opened.dialog.IsEnabled(resources::kIdFax));
}

// A printed page: the sheet drawn on a device set up as the print dialog's
// device is, here a screen-like memory device with its own resolution.
TEST(Win32Printing, TheSheetLandsOnThePaperWhereItsLayoutPutsTheCards) {
    card::CardRecord card;
    card.Company = "Harbour Light Instruments";
    card.FirstName = "Ada";
    card.LastName = "Okafor";
    files::Result<std::string> jpeg = files::ReadWholeText(OVLET_SOURCE_DIR "/samples/sample.jpg", {});
    ASSERT_TRUE(jpeg);
    const std::string bytes = std::move(jpeg).Value();
    card.SetPicture({bytes.begin(), bytes.end()});
    for (const drawing::Sheet sheet : {drawing::Sheet::A4, drawing::Sheet::Letter}) {
        drawing::SheetLayout layout;
        layout.sheet = sheet;
        HDC dc = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        const double dotsPerMm = DrawFromPaperCorner(dc);
        EXPECT_NEAR(dotsPerMm, GetDeviceCaps(dc, LOGPIXELSX) / 25.4, 1e-9);
        const int width = static_cast<int>(layout.PageSizeMm().width * dotsPerMm);
        const int height = static_cast<int>(layout.PageSizeMm().height * dotsPerMm);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP page = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(page, nullptr);
        HGDIOBJ before = SelectObject(dc, page);
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        drawing::DrawCardSheetOn(dc, dotsPerMm, card, sheet);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        // How many dots of a box in millimetres are not white.
        const auto inked = [&](const drawing::Area& mm) {
            int count = 0;
            for (int y = static_cast<int>(mm.top * dotsPerMm); y < static_cast<int>(mm.Bottom() * dotsPerMm); ++y) {
                for (int x = static_cast<int>(mm.left * dotsPerMm); x < static_cast<int>(mm.Right() * dotsPerMm); ++x) {
                    if ((pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x)] &
                         0xFFFFFFu) != 0xFFFFFFu)
                        ++count;
                }
            }
            return count;
        };
        const std::vector<drawing::Area> cards = layout.CardRectsMm();
        ASSERT_EQ(cards.size(), 10u);
        for (const drawing::Area& cut : cards) {
            // Each card holds its picture and its lines.
            EXPECT_GT(inked(cut), static_cast<int>(cut.width * cut.height * dotsPerMm * dotsPerMm / 20));
        }
        // The paper's corner is left blank; the device's settings are as they were.
        EXPECT_EQ(inked({0, 0, 3, 3}), 0);
        EXPECT_EQ(GetMapMode(dc), MM_ANISOTROPIC);
        EXPECT_EQ(GetBkMode(dc), OPAQUE);
        EXPECT_EQ(GetTextAlign(dc), static_cast<UINT>(TA_TOP | TA_LEFT | TA_NOUPDATECP));
        SelectObject(dc, before);
        DeleteObject(page);
        DeleteDC(dc);
    }
}

TEST(Win32Printing, ThePrintersPaperChoosesTheSheet) {
    struct Case {
        DWORD fields;
        short paper;
        short length;  // tenths of a millimetre
        Paper expected;
    };
    const Case cases[] = {
        {DM_PAPERSIZE, DMPAPER_A4, 0, Paper::A4},
        {DM_PAPERSIZE, DMPAPER_LETTER, 0, Paper::Letter},
        {DM_PAPERSIZE | DM_PAPERLENGTH, DMPAPER_A5, 2100, Paper::Letter},
        {DM_PAPERSIZE | DM_PAPERLENGTH, DMPAPER_LEGAL, 3556, Paper::A4},
        {0, 0, 0, Paper::A4},
    };
    for (const Case& c : cases) {
        DEVMODEW settings{};
        settings.dmSize = sizeof settings;
        settings.dmFields = c.fields;
        settings.dmPaperSize = c.paper;
        settings.dmPaperLength = c.length;
        EXPECT_EQ(PaperOfPrinter(settings), c.expected) << c.paper;
    }
}

// A handler that notes the commands it is given.
struct Commands : DialogHandler {
    std::vector<int> given;
    void OnCommand(int id) override { given.push_back(id); }
};

// A shortcut whose keys an edit uses itself (Delete, Ctrl+V) works where the
// focus is not in an edit; in one, the keys edit its text.
TEST_F(Win32FaceTest, KeysAnEditUsesStayWithTheEdit) {
    Commands handler;
    Win32Dialog dialog(resources::CardDialogTemplate(), handler);
    HWND window = dialog.Create();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNA);  // (a button's keys work while it can be clicked)
    dialog.SetShortcut(resources::kIdRemove, "Del");
    dialog.SetShortcut(resources::kIdNew, "Ctrl+N");
    dialog.SetShortcut(resources::kIdOpen, "Ctrl+V");
    dialog.SetShortcut(resources::kIdSave, "Ctrl+PgDown");
    BYTE keys[256] = {};
    const auto press = [&](HWND target, unsigned key, bool ctrl) {
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG message{};
        message.hwnd = target;
        message.message = WM_KEYDOWN;
        message.wParam = key;
        return Win32Dialog::TakeKey(message);
    };
    struct Case {
        const char* name;
        HWND target;
        unsigned key;
        bool ctrl;
        int command;  // kNoControl: the key stays where it was pressed
    };
    HWND edit = dialog.Item(resources::kIdCompany);
    const Case cases[] = {
        {"Del in an edit", edit, VK_DELETE, false, kNoControl},
        {"Ctrl+V in an edit", edit, 'V', true, kNoControl},
        {"Ctrl+N in an edit", edit, 'N', true, resources::kIdNew},
        {"Ctrl+PgDown in an edit", edit, VK_NEXT, true, resources::kIdSave},
        {"Del on the window", window, VK_DELETE, false, resources::kIdRemove},
        {"Ctrl+V on the window", window, 'V', true, resources::kIdOpen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        handler.given.clear();
        EXPECT_EQ(press(c.target, c.key, c.ctrl), c.command != kNoControl);
        EXPECT_EQ(handler.given, c.command == kNoControl ? std::vector<int>{} : std::vector<int>{c.command});
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

TEST_F(Win32FaceTest, TheWindowMenuEndsTheSystemMenuAndGivesItsCommands) {
    Commands handler;
    Win32Dialog dialog(resources::CardDialogTemplate(), handler);
    HWND window = dialog.Create();
    ASSERT_NE(window, nullptr);
    const int systemsOwn = GetMenuItemCount(GetSystemMenu(window, FALSE));
    const std::vector<MenuEntry> entries = {{resources::kSysCommandAbout, "&About Ovlet Maker"},
                                            {kNoControl, {}},
                                            {resources::kCommandPrint, "Print\u2026"}};
    // Set twice, as a window sets it again in another language: the entries once.
    dialog.SetWindowMenu(entries);
    dialog.SetWindowMenu(entries);
    HMENU system = GetSystemMenu(window, FALSE);
    ASSERT_EQ(GetMenuItemCount(system), systemsOwn + 4);
    const auto textOf = [&](int position) {
        wchar_t text[64] = {};
        GetMenuStringW(system, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
        return Utf8(text);
    };
    EXPECT_EQ(GetMenuItemID(system, systemsOwn), 0U);  // a separator
    EXPECT_EQ(GetMenuItemID(system, systemsOwn + 1), static_cast<UINT>(resources::kSysCommandAbout));
    EXPECT_EQ(textOf(systemsOwn + 1), "&About Ovlet Maker");
    EXPECT_EQ(GetMenuItemID(system, systemsOwn + 2), 0U);
    EXPECT_EQ(textOf(systemsOwn + 3), "Print\u2026");
    const UINT printId = GetMenuItemID(system, systemsOwn + 3);
    EXPECT_EQ(printId & 0xFU, 0U) << "the system keeps the low four bits";
    // The system may set those bits when it sends the command.
    SendMessageW(window, WM_SYSCOMMAND, printId | 0x2U, 0);
    SendMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(resources::kSysCommandAbout), 0);
    EXPECT_EQ(handler.given, (std::vector<int>{resources::kCommandPrint, resources::kSysCommandAbout}));
}

// The tips of the tool-tip control that belongs to `dialog` (-1: none yet).
int TipsOf(HWND dialog) {
    struct Search {
        HWND dialog;
        HWND tips = nullptr;
    } search{dialog};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            auto& s = *reinterpret_cast<Search*>(found);
            wchar_t kind[32] = {};
            GetClassNameW(window, kind, 32);
            if (lstrcmpiW(kind, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == s.dialog) s.tips = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.tips ? static_cast<int>(SendMessageW(search.tips, TTM_GETTOOLCOUNT, 0, 0)) : -1;
}

TEST_F(Win32FaceTest, AModalDialogIsOnScreenBeforeTheHandlersLaterWork) {
    struct Handler : DialogHandler {
        std::vector<std::string> steps;
        void Note(const char* step) {
            HWND window = WindowOf(host);
            steps.push_back(std::string(step) + (IsWindowVisible(window) ? ", shown" : "") + ", tips " +
                            std::to_string(TipsOf(window)));
        }
        void OnInit(DialogHost& dialog) override {
            DialogHandler::OnInit(dialog);
            host->SetToolTip(platform::kIdOk, "Closes the window");
            Note("init");
        }
        void OnShown() override {
            Note("later");
            host->StartTimer(1, 1);
        }
        void OnTimer(int) override {
            Note("then");
            host->End(7);
        }
    } handler;
    EXPECT_EQ(RunDialog(resources::AboutDialogTemplate(), handler), 7);
    // The tips are given to the system once the window is on screen.
    EXPECT_EQ(handler.steps,
              (std::vector<std::string>{"init, tips -1", "later, shown, tips -1", "then, shown, tips 1"}));
}

// A group box on a themed tab page draws its parent's background behind its
// caption: that is the page's colour, not a band of the dialog's.
TEST_F(Win32FaceTest, AGroupBoxOnATabPageStandsOnThePagesColour) {
    if (!IsAppThemed()) GTEST_SKIP() << "no theme: the pages are the dialog's colour";
    Commands handler;
    Win32Dialog dialog(resources::CardDialogTemplate(), handler);
    HWND window = dialog.Create();
    ASSERT_NE(window, nullptr);
    HWND group = GetDlgItem(window, resources::kIdCompanyGroup);
    ASSERT_NE(group, nullptr);
    RECT box{};
    GetClientRect(group, &box);
    HDC screen = GetDC(group);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, box.right, box.bottom);
    HGDIOBJ old = SelectObject(memory, picture);
    SendMessageW(group, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    // Beside the caption, above the frame's line.
    const COLORREF beside = GetPixel(memory, box.right - 4, 1);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(group, screen);
    EXPECT_EQ(beside, GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace ovlet::window
