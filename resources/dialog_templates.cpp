// Dialog templates 100 (About), 102 (card window) and 103 (splash), and the
// string table.
#include "platform/dialog_template.h"

namespace platform {
namespace {

using K = ControlKind;

const DialogTemplate kAboutDialog{
    100,
    "About Ovlet Maker",
    217,
    81,
    8,
    {
        {-1, K::Icon, "128", 5, 5, 20, 20},
        {1068, K::Static, "", 40, 10, 119, 8},
        {-1, K::Static, "Electronic business cards", 40, 25, 119, 8},
        {1, K::DefaultPushButton, "OK", 180, 45, 32, 12, true},
        {-1, K::Static, "Free software", 40, 40, 56, 8},
        {1076, K::OwnerDrawButton, "Visit: https://ovlet.app/ for latest updates", 15, 70, 170, 8, true},
    }};

// The card window. Template order is also the Tab order among visible controls.
const DialogTemplate kCardDialog{102,
                                 "Norvane Ovlet Maker",
                                 287,
                                 236,
                                 8,
                                 {
                                     {1000, K::OwnerDrawButton, "New", 15, 6, 23, 22, true},
                                     {1001, K::OwnerDrawButton, "Open", 40, 6, 23, 22, true},
                                     {1002, K::OwnerDrawButton, "Save", 65, 6, 23, 22, true},
                                     {1050, K::OwnerDrawButton, "Save As", 90, 6, 23, 22, true},
                                     {1006, K::OwnerDrawButton, "Import", 115, 6, 23, 22, true},
                                     {1007, K::OwnerDrawButton, "Help", 141, 6, 23, 22, true},
                                     {1005, K::OwnerDrawButton, "About", 227, 6, 23, 22, true},
                                     {1003, K::OwnerDrawButton, "Exit", 252, 6, 23, 22, true},
                                     {1012, K::Edit, "", 45, 85, 55, 14, true},
                                     {1013, K::Edit, "", 130, 85, 30, 14, true},
                                     {1010, K::Static, "Last:", 170, 90, 16, 8},
                                     {1011, K::Edit, "", 81, 85, 115, 14, true},
                                     {1014, K::Edit, "", 190, 85, 65, 14, true},
                                     {1015, K::Static, "Job Title:", 25, 110, 30, 8},
                                     {1017, K::Edit, "", 60, 106, 80, 14, true},
                                     {1019, K::Edit, "", 190, 106, 65, 14, true},
                                     {1033, K::Static, "E-Mail:", 25, 131, 22, 8},
                                     {1020, K::Edit, "", 60, 125, 95, 14, true},
                                     {1044, K::MultiLineEdit, "", 81, 106, 115, 30, true},
                                     {1042, K::Edit, "", 190, 125, 65, 14, true},
                                     {1021, K::Edit, "", 60, 155, 80, 14, true},
                                     {1037, K::Static, "Phone:", 150, 159, 24, 8},
                                     {1047, K::MultiLineEdit, "", 30, 106, 230, 95, true},
                                     {1004, K::TabControl, "", 10, 50, 270, 180},
                                     {1046, K::PicturePanel, "", 26, 81, 235, 125, true},
                                     {1035, K::Edit, "", 180, 155, 75, 14, true},
                                     {1022, K::Edit, "", 60, 190, 80, 14, true},
                                     {1041, K::Edit, "", 180, 190, 75, 14, true},
                                     {1009, K::Static, "First:", 25, 90, 16, 8},
                                     {1016, K::Static, "Middle:", 105, 90, 24, 8},
                                     {1018, K::Static, "Department:", 150, 109, 40, 8},
                                     {1036, K::Static, "Desc:", 35, 159, 20, 8},
                                     {1034, K::GroupBox, "Phone 1", 25, 145, 240, 30},
                                     {1038, K::Static, "Desc:", 35, 194, 20, 8},
                                     {1039, K::GroupBox, "Phone 2", 25, 180, 240, 30},
                                     {1040, K::Static, "Phone:", 150, 194, 24, 8},
                                     {1043, K::Static, "Fax:", 175, 128, 14, 8},
                                     {1027, K::Edit, "", 81, 141, 70, 14, true},
                                     {1028, K::Edit, "", 211, 141, 54, 14, true},
                                     {1026, K::Edit, "", 81, 160, 70, 14, true},
                                     {1030, K::Edit, "", 211, 160, 54, 14, true},
                                     {1032, K::Edit, "", 25, 195, 185, 14, true},
                                     {1008, K::Static, "Company:", 25, 90, 32, 8},
                                     {1045, K::Static, "Street Address:", 25, 109, 49, 8},
                                     {1023, K::Static, "City:", 25, 143, 14, 8},
                                     {1024, K::Static, "State/Province", 161, 144, 49, 8},
                                     {1025, K::Static, "Country", 25, 165, 25, 8},
                                     {1029, K::Static, "Postal Code", 161, 165, 39, 8},
                                     {1031, K::Static, "Company Web Site:", 25, 186, 64, 8},
                                     {1073, K::GroupBox, "", 10, 0, 270, 30},
                                     {1048, K::Static, "General Information:", 30, 93, 64, 8},
                                     {-1, K::Static, "Current File:", 10, 35, 38, 8},
                                     {1049, K::Static, "Static", 50, 35, 210, 8},
                                     {1052, K::Static, "Actual Image Size:", 25, 210, 60, 10},
                                     {1053, K::Static, "Static", 91, 210, 65, 8},
                                     {1055, K::OwnerDrawButton, "Remvoe", 245, 209, 15, 14, true},
                                     {1057, K::GroupBox, "Company", 20, 64, 245, 70},
                                     {1058, K::Static, "Static", 30, 75, 175, 8},
                                     {1059, K::Static, "Static", 30, 85, 175, 35},
                                     {1061, K::GroupBox, "Contact", 20, 140, 245, 80},
                                     {1062, K::Static, "Static", 30, 150, 140, 8},
                                     {1063, K::Static, "Static", 30, 160, 155, 8},
                                     {1060, K::OwnerDrawButton, "Button1", 30, 121, 205, 8, true},
                                     {1064, K::OwnerDrawButton, "Button1", 30, 170, 150, 8, true},
                                     {1065, K::OwnerDrawButton, "Button1", 30, 180, 150, 8, true},
                                     {1066, K::OwnerDrawButton, "Button2", 30, 205, 155, 8, true},
                                     {1067, K::OwnerDrawButton, "Button3", 30, 190, 155, 8, true},
                                     {1074, K::GroupBox, "", 222, 0, 58, 30},
                                 }};

const DialogTemplate kSplashDialog{103, "", 261, 150, 8, {{1056, K::PicturePanel, "", 0, 0, 261, 150}}};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate* t : {&kAboutDialog, &kCardDialog, &kSplashDialog}) {
        if (t->id == id) return t;
    }
    return nullptr;
}

std::string LoadResourceString(int id) {
    switch (id) {
        case 101:
            return "&About Ovlet Maker";
        default:
            return {};
    }
}

}  // namespace platform
