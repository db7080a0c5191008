// The numbers the programs' resources are known by: dialogs, the controls of
// each dialog, the string, the icon and the system-menu command. Each number
// is written here once; everything else uses the names. A test checks the
// list against the dialog templates (every control has a name, every name is
// used, no number twice).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/dialog_template.h"

namespace ovlet::resources {

// Dialog templates.
inline constexpr int kDialogAbout = 100;
inline constexpr int kDialogCard = 102;
inline constexpr int kDialogSplash = 103;
inline constexpr int kDialogQrCode = 104;

// The string table: the About entry of the window menu.
inline constexpr int kStringAboutMenu = 101;
// The program icon.
inline constexpr int kIconProgram = 128;
// The window menu's About command.
inline constexpr int kSysCommandAbout = 0x0010;
// The toolbar's bitmaps: each button's normal, pressed and hot look.
inline constexpr std::uint32_t kBitmapNew = 138, kBitmapNewPressed = 135, kBitmapNewHot = 134;
inline constexpr std::uint32_t kBitmapOpen = 133, kBitmapOpenPressed = 139, kBitmapOpenHot = 140;
inline constexpr std::uint32_t kBitmapSave = 131, kBitmapSavePressed = 142, kBitmapSaveHot = 141;
inline constexpr std::uint32_t kBitmapSaveAs = 158, kBitmapSaveAsPressed = 160, kBitmapSaveAsHot = 159;
inline constexpr std::uint32_t kBitmapImport = 146, kBitmapImportPressed = 148, kBitmapImportHot = 147;
inline constexpr std::uint32_t kBitmapHelp = 143, kBitmapHelpPressed = 145, kBitmapHelpHot = 144;
inline constexpr std::uint32_t kBitmapAbout = 149, kBitmapAboutPressed = 151, kBitmapAboutHot = 150;
inline constexpr std::uint32_t kBitmapExit = 152, kBitmapExitPressed = 154, kBitmapExitHot = 153;
inline constexpr std::uint32_t kBitmapRemove = 161, kBitmapRemovePressed = 163, kBitmapRemoveHot = 162;
// The card window's own menu entries and the keys that turn its pages.
inline constexpr int kCommandExportVCard = 0x7E01;
inline constexpr int kCommandPrint = 0x7E02;
inline constexpr int kCommandSavePicture = 0x7E03;
inline constexpr int kCommandShowQrCode = 0x7E04;
inline constexpr int kCommandNextPage = 0x7F01;
inline constexpr int kCommandPreviousPage = 0x7F02;
inline constexpr int kCommandNextPageByPgDown = 0x7F03;
inline constexpr int kCommandPreviousPageByPgUp = 0x7F04;
// The maker's Ctrl+V: a picture pasted on the Image page.
inline constexpr int kCommandPaste = 0x7F10;

// A control without an id (labels the program never addresses).
inline constexpr int kIdNone = -1;

// X(name, number) for every control id of every dialog.
#define OVLET_CONTROL_IDS(X)                              \
    /* dialog buttons */                                  \
    X(kIdOk, platform::kIdOk)                             \
    X(kIdCancel, platform::kIdCancel)                     \
    /* card window: toolbar and frames */                 \
    X(kIdNew, 1000)                                       \
    X(kIdOpen, 1001)                                      \
    X(kIdSave, 1002)                                      \
    X(kIdExit, 1003)                                      \
    X(kIdTabs, 1004)                                      \
    X(kIdAbout, 1005)                                     \
    X(kIdImport, 1006)                                    \
    X(kIdHelp, 1007)                                      \
    X(kIdSaveAs, 1050)                                    \
    X(kIdToolbarFrame, 1073)                              \
    X(kIdViewerFrame, 1074)                               \
    X(kIdCurrentFile, 1049)                               \
    /* card window: Company page */                       \
    X(kIdCompanyLabel, 1008)                              \
    X(kIdCompany, 1011)                                   \
    X(kIdStreetAddressLabel, 1045)                        \
    X(kIdStreetAddress, 1044)                             \
    X(kIdCityLabel, 1023)                                 \
    X(kIdCity, 1027)                                      \
    X(kIdStateProvinceLabel, 1024)                        \
    X(kIdStateProvince, 1028)                             \
    X(kIdCountryLabel, 1025)                              \
    X(kIdCountry, 1026)                                   \
    X(kIdPostalCodeLabel, 1029)                           \
    X(kIdPostalCode, 1030)                                \
    X(kIdWebSiteLabel, 1031)                              \
    X(kIdWebSite, 1032)                                   \
    /* card window: Contact page */                       \
    X(kIdFirstNameLabel, 1009)                            \
    X(kIdFirstName, 1012)                                 \
    X(kIdMiddleNameLabel, 1016)                           \
    X(kIdMiddleName, 1013)                                \
    X(kIdLastNameLabel, 1010)                             \
    X(kIdLastName, 1014)                                  \
    X(kIdJobTitleLabel, 1015)                             \
    X(kIdJobTitle, 1017)                                  \
    X(kIdDepartmentLabel, 1018)                           \
    X(kIdDepartment, 1019)                                \
    X(kIdEMailLabel, 1033)                                \
    X(kIdEMail, 1020)                                     \
    X(kIdFaxLabel, 1043)                                  \
    X(kIdFax, 1042)                                       \
    X(kIdPhone1Group, 1034)                               \
    X(kIdPhone1DescriptionLabel, 1036)                    \
    X(kIdPhone1Description, 1021)                         \
    X(kIdPhone1NumberLabel, 1037)                         \
    X(kIdPhone1Number, 1035)                              \
    X(kIdPhone2Group, 1039)                               \
    X(kIdPhone2DescriptionLabel, 1038)                    \
    X(kIdPhone2Description, 1022)                         \
    X(kIdPhone2NumberLabel, 1040)                         \
    X(kIdPhone2Number, 1041)                              \
    /* card window: Information page */                   \
    X(kIdGeneralInformationLabel, 1048)                   \
    X(kIdGeneralInformation, 1047)                        \
    /* card window: Image page */                         \
    X(kIdPicture, 1046)                                   \
    X(kIdImageSizeLabel, 1052)                            \
    X(kIdImageSize, 1053)                                 \
    X(kIdRemove, 1055)                                    \
    /* card window: the summary block the viewer shows */ \
    X(kIdCompanyGroup, 1057)                              \
    X(kIdCompanyLine, 1058)                               \
    X(kIdAddressBlock, 1059)                              \
    X(kIdWebSiteLine, 1060)                               \
    X(kIdContactGroup, 1061)                              \
    X(kIdNameLine, 1062)                                  \
    X(kIdTitleLine, 1063)                                 \
    X(kIdPhone1Line, 1064)                                \
    X(kIdPhone2Line, 1065)                                \
    X(kIdEMailLine, 1066)                                 \
    X(kIdFaxLine, 1067)                                   \
    /* About dialog */                                    \
    X(kIdVersionText, 1068)                               \
    X(kIdAboutWebLink, 1076)                              \
    /* splash window */                                   \
    X(kIdSplashPicture, 1056)                             \
    /* QR code window */                                  \
    X(kIdQrPicture, 1080)                                 \
    X(kIdQrText, 1081)

#define OVLET_DEFINE_ID(name, number) inline constexpr int name = number;
OVLET_CONTROL_IDS(OVLET_DEFINE_ID)
#undef OVLET_DEFINE_ID

struct NamedControlId {
    std::string_view name;
    int id;
};

// Every control id with its name, for the check against the templates.
#define OVLET_NAMED_ID(name, number) NamedControlId{#name, number},
inline constexpr std::array kNamedControlIds{OVLET_CONTROL_IDS(OVLET_NAMED_ID)};
#undef OVLET_NAMED_ID

}  // namespace ovlet::resources
