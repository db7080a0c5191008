// Dialog templates of the About dialog, the card window and the splash
// window, and the string table.
#include "resources/dialog_templates.h"

#include "platform/text_mark.h"
#include "resources/control_ids.h"

namespace ovlet::resources {
namespace {

using platform::ControlTemplate;
using platform::DialogTemplate;
using K = platform::ControlKind;

const DialogTemplate kAboutDialog{
    kDialogAbout,
    QT_TRANSLATE_NOOP("AboutDialog", "About Ovlet Maker"),
    217,
    81,
    8,
    {
        {kIdNone, K::Icon, "", 5, 5, 20, 20},
        {kIdVersionText, K::Static, "", 40, 10, 119, 8},
        {kIdNone, K::Static, QT_TRANSLATE_NOOP("AboutDialog", "Electronic business cards"), 40, 25, 119, 8},
        {kIdOk, K::DefaultPushButton, QT_TRANSLATE_NOOP("AboutDialog", "OK"), 180, 45, 32, 12, true},
        {kIdNone, K::Static, QT_TRANSLATE_NOOP("AboutDialog", "Free software"), 40, 40, 56, 8},
        {kIdAboutWebLink, K::OwnerDrawButton,
         QT_TRANSLATE_NOOP("AboutDialog", "Visit: https://ovlet.app/ for latest updates"), 15, 70, 170, 8, true},
    },
    "AboutDialog"};

// The card window. Template order is also the Tab order among visible controls.
const DialogTemplate kCardDialog{
    kDialogCard,
    "Norvane Ovlet Maker",
    287,
    236,
    8,
    {
        {kIdNew, K::OwnerDrawButton, "New", 15, 6, 23, 22, true},
        {kIdOpen, K::OwnerDrawButton, "Open", 40, 6, 23, 22, true},
        {kIdSave, K::OwnerDrawButton, "Save", 65, 6, 23, 22, true},
        {kIdSaveAs, K::OwnerDrawButton, "Save As", 90, 6, 23, 22, true},
        {kIdImport, K::OwnerDrawButton, "Import", 115, 6, 23, 22, true},
        {kIdHelp, K::OwnerDrawButton, "Help", 141, 6, 23, 22, true},
        {kIdAbout, K::OwnerDrawButton, "About", 227, 6, 23, 22, true},
        {kIdExit, K::OwnerDrawButton, "Exit", 252, 6, 23, 22, true},
        {kIdFirstName, K::Edit, "", 45, 85, 55, 14, true},
        {kIdMiddleName, K::Edit, "", 130, 85, 30, 14, true},
        {kIdLastNameLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Last:"), 170, 90, 16, 8},
        {kIdCompany, K::Edit, "", 81, 85, 115, 14, true},
        {kIdLastName, K::Edit, "", 190, 85, 65, 14, true},
        {kIdJobTitleLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Job Title:"), 25, 110, 30, 8},
        {kIdJobTitle, K::Edit, "", 60, 106, 80, 14, true},
        {kIdDepartment, K::Edit, "", 190, 106, 65, 14, true},
        {kIdEMailLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "E-Mail:"), 25, 131, 22, 8},
        {kIdEMail, K::Edit, "", 60, 125, 95, 14, true},
        {kIdStreetAddress, K::MultiLineEdit, "", 81, 106, 115, 30, true},
        {kIdFax, K::Edit, "", 190, 125, 65, 14, true},
        {kIdPhone1Description, K::Edit, "", 60, 155, 80, 14, true},
        {kIdPhone1NumberLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Phone:"), 150, 159, 24, 8},
        {kIdGeneralInformation, K::MultiLineEdit, "", 30, 106, 230, 95, true},
        {kIdTabs, K::TabControl, "", 10, 50, 270, 180},
        {kIdPicture, K::PicturePanel, "", 26, 81, 235, 125, true},
        {kIdPhone1Number, K::Edit, "", 180, 155, 75, 14, true},
        {kIdPhone2Description, K::Edit, "", 60, 190, 80, 14, true},
        {kIdPhone2Number, K::Edit, "", 180, 190, 75, 14, true},
        {kIdFirstNameLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "First:"), 25, 90, 16, 8},
        {kIdMiddleNameLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Middle:"), 105, 90, 24, 8},
        {kIdDepartmentLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Department:"), 150, 109, 40, 8},
        {kIdPhone1DescriptionLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Desc:"), 35, 159, 20, 8},
        {kIdPhone1Group, K::GroupBox, QT_TRANSLATE_NOOP("CardDialog", "Phone 1"), 25, 145, 240, 30},
        {kIdPhone2DescriptionLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Desc:"), 35, 194, 20, 8},
        {kIdPhone2Group, K::GroupBox, QT_TRANSLATE_NOOP("CardDialog", "Phone 2"), 25, 180, 240, 30},
        {kIdPhone2NumberLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Phone:"), 150, 194, 24, 8},
        {kIdFaxLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Fax:"), 175, 128, 14, 8},
        {kIdCity, K::Edit, "", 81, 141, 70, 14, true},
        {kIdStateProvince, K::Edit, "", 211, 141, 54, 14, true},
        {kIdCountry, K::Edit, "", 81, 160, 70, 14, true},
        {kIdPostalCode, K::Edit, "", 211, 160, 54, 14, true},
        {kIdWebSite, K::Edit, "", 25, 195, 185, 14, true},
        {kIdCompanyLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Company:"), 25, 90, 32, 8},
        {kIdStreetAddressLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Street Address:"), 25, 109, 49, 8},
        {kIdCityLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "City:"), 25, 143, 14, 8},
        {kIdStateProvinceLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "State/Province"), 161, 144, 49, 8},
        {kIdCountryLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Country"), 25, 165, 25, 8},
        {kIdPostalCodeLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Postal Code"), 161, 165, 39, 8},
        {kIdWebSiteLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Company Web Site:"), 25, 186, 64, 8},
        {kIdToolbarFrame, K::GroupBox, "", 10, 0, 270, 30},
        {kIdGeneralInformationLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "General Information:"), 30, 93, 64, 8},
        {kIdNone, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Current File:"), 10, 35, 38, 8},
        {kIdCurrentFile, K::Static, "Static", 50, 35, 210, 8},
        {kIdImageSizeLabel, K::Static, QT_TRANSLATE_NOOP("CardDialog", "Actual Image Size:"), 25, 210, 60, 10},
        {kIdImageSize, K::Static, "Static", 91, 210, 65, 8},
        {kIdRemove, K::OwnerDrawButton, "Remvoe", 245, 209, 15, 14, true},
        {kIdCompanyGroup, K::GroupBox, QT_TRANSLATE_NOOP("CardDialog", "Company"), 20, 64, 245, 70},
        {kIdCompanyLine, K::Static, "Static", 30, 75, 175, 8},
        {kIdAddressBlock, K::Static, "Static", 30, 85, 175, 35},
        {kIdContactGroup, K::GroupBox, QT_TRANSLATE_NOOP("CardDialog", "Contact"), 20, 140, 245, 80},
        {kIdNameLine, K::Static, "Static", 30, 150, 140, 8},
        {kIdTitleLine, K::Static, "Static", 30, 160, 155, 8},
        {kIdWebSiteLine, K::OwnerDrawButton, "Button1", 30, 121, 205, 8, true},
        {kIdPhone1Line, K::OwnerDrawButton, "Button1", 30, 170, 150, 8, true},
        {kIdPhone2Line, K::OwnerDrawButton, "Button1", 30, 180, 150, 8, true},
        {kIdEMailLine, K::OwnerDrawButton, "Button2", 30, 205, 155, 8, true},
        {kIdFaxLine, K::OwnerDrawButton, "Button3", 30, 190, 155, 8, true},
        {kIdViewerFrame, K::GroupBox, "", 222, 0, 58, 30},
    },
    "CardDialog"};

const DialogTemplate kSplashDialog{kDialogSplash, "", 261,
                                   150,           8,  {{kIdSplashPicture, K::PicturePanel, "", 0, 0, 261, 150}}};

// The card as a QR code for a phone to scan, and what to do with it.
const DialogTemplate kQrCodeDialog{
    kDialogQrCode,
    QT_TRANSLATE_NOOP("CCardDialog", "QR Code"),
    200,
    222,
    8,
    {
        {kIdQrPicture, K::PicturePanel, "", 10, 7, 180, 166},
        {kIdQrText, K::Static,
         QT_TRANSLATE_NOOP("CCardDialog", "Scan this code with a phone to add the card to its contacts."), 10, 178, 180,
         18},
        {kIdCancel, K::DefaultPushButton, QT_TRANSLATE_NOOP("CCardDialog", "Close"), 75, 201, 50, 14, true},
    },
    "CCardDialog"};

}  // namespace

const DialogTemplate& QrCodeDialogTemplate() {
    return kQrCodeDialog;
}

const DialogTemplate& AboutDialogTemplate() {
    return kAboutDialog;
}

const DialogTemplate& CardDialogTemplate() {
    return kCardDialog;
}

const DialogTemplate& SplashDialogTemplate() {
    return kSplashDialog;
}

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate* t : {&kAboutDialog, &kCardDialog, &kSplashDialog, &kQrCodeDialog}) {
        if (t->id == id) return t;
    }
    return nullptr;
}

std::string LoadResourceString(int id) {
    switch (id) {
        case kStringAboutMenu:
            return QT_TRANSLATE_NOOP("StringTable", "&About Ovlet Maker");
        default:
            return {};
    }
}

}  // namespace ovlet::resources
