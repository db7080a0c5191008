#include "viewer/viewer_dialog.h"

#include <QMenu>

#include "platform/controls_basic.h"

namespace {

constexpr std::initializer_list<int> kImagePage = {1046, 1053, 1052};
constexpr std::initializer_list<int> kSummaryBlock = {1057, 1061, 1058, 1059, 1060, 1062, 1063, 1064, 1065, 1067, 1066};
constexpr std::initializer_list<int> kInformationPage = {1048, 1047};
// The maker's Company and Contact pages and the Remove button: never shown here.
constexpr std::initializer_list<int> kAlwaysHidden = {1055, 1024, 1023, 1027, 1045, 1044, 1028, 1029, 1030, 1025,
                                                      1026, 1031, 1032, 1008, 1011, 1040, 1037, 1041, 1039, 1034,
                                                      1035, 1016, 1013, 1009, 1010, 1038, 1022, 1036, 1021, 1014,
                                                      1012, 1043, 1042, 1033, 1020, 1018, 1019, 1015, 1017};

}  // namespace

CViewerDialog::CViewerDialog(QWidget* parent) : CCardDialog(parent) {}

void CViewerDialog::InsertTabs() {
    Tabs()->InsertItem(0, QStringLiteral("Image"));
    Tabs()->InsertItem(1, QStringLiteral("Contact"));
    Tabs()->InsertItem(2, QStringLiteral("Information"));
}

void CViewerDialog::SetUpForm() {
    if (auto* info = ItemAs<platform::MultiLineEdit>(kGeneralInformationControl)) {
        // The text can be selected and copied, not changed.
        info->setReadOnly(true);
        info->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    setWindowTitle(QStringLiteral("Norvane Ovlet Viewer"));
    for (int id : {kIdNew, kIdSave, kIdSaveAs, kIdImport, kIdOpen, kIdHelp, kIdToolbarFrame}) ShowItem(id, false);
    ShowItem(kIdViewerFrame, true);
    ShowItem(kIdRemove, false);
}

void CViewerDialog::PageSwitch() {
    Tabs()->lower();
    const int tab = SelectedTab();
    for (int id : kAlwaysHidden) ShowItem(id, false);
    const std::initializer_list<int> pages[] = {kImagePage, kSummaryBlock, kInformationPage};
    for (int page = 0; page < 3; ++page) {
        if (page != tab) {
            for (int id : pages[page]) ShowItem(id, false);
        }
    }
    if (tab >= 0 && tab < 3) {
        for (int id : pages[tab]) ShowItem(id, true);
    }
    if (tab == 2) {
        if (QWidget* info = Item(kGeneralInformationControl)) info->setFocus(Qt::TabFocusReason);
    }
}

void CViewerDialog::AddMenuEntries(QMenu* windowMenu) {
    CCardDialog::AddMenuEntries(windowMenu);
    windowMenu->addAction(QStringLiteral("Show QR code"), this, &CCardDialog::ShowQrCode);
}
