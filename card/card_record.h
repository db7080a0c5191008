// The card record: nineteen text fields, the picture bytes and the few strings
// the card window keeps about the card. One table describes the fields once;
// the file codec, the typing limits and the window exchange all read from it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ovlet::card {

struct CardRecord {
    // The nineteen text fields, 8-bit Windows-1252 text.
    std::string Company;
    std::string StreetAddress;
    std::string City;
    std::string StateProvince;
    std::string PostalCode;
    std::string Country;
    std::string WebSite;
    std::string FirstName;
    std::string LastName;
    std::string MiddleName;
    std::string JobTitle;
    std::string EMail;
    std::string Fax;
    std::string Department;
    std::string Phone1Description;
    std::string Phone1Number;
    std::string Phone2Description;
    std::string Phone2Number;
    std::string GeneralInformation;

    // The picture file exactly as imported or read; PictureLength is its size.
    std::vector<std::uint8_t> PictureBytes;
    std::int32_t PictureLength = 0;

    // Window state kept with the card.
    std::string ImageSizeText = "N/A";
    std::string CurrentPath;
    std::string CurrentFileLabel = "Untitled";

    // Display strings composed after a card file has been read.
    std::string CompanyLine;
    std::string AddressBlock;
    std::string NameLine;
    std::string TitleLine;
    std::string Phone1Line;
    std::string Phone2Line;
    std::string EMailLine;
    std::string FaxLine;
    std::string WebSiteLine;

    // Returns the record to the state of a new card.
    void ClearCard();

    // Takes ownership of a picture, releasing the one held before.
    void SetPicture(std::vector<std::uint8_t> bytes);
    void ReleasePicture();
    bool HasPicture() const { return PictureLength > 0; }
};

struct CardFieldInfo {
    const char* name;  // field name, also the JSON and CSV key
    std::string CardRecord::*member;
    int limit;             // typing limit in characters, 0 for none
    int exchangePosition;  // order of window exchange, -1 for the unbound multi-line fields
    bool multiLine;
    const char* group;  // group box the label sits in, or "" for none
    const char* label;  // label beside the edit control
};

// The nineteen fields in file order.
inline constexpr std::array<CardFieldInfo, 19> kCardFields{{
    {"Company", &CardRecord::Company, 50, 1, false, "", "Company:"},
    {"StreetAddress", &CardRecord::StreetAddress, 0, -1, true, "", "Street Address:"},
    {"City", &CardRecord::City, 25, 0, false, "", "City:"},
    {"StateProvince", &CardRecord::StateProvince, 15, 15, false, "", "State/Province"},
    {"PostalCode", &CardRecord::PostalCode, 15, 14, false, "", "Postal Code"},
    {"Country", &CardRecord::Country, 20, 3, false, "", "Country"},
    {"WebSite", &CardRecord::WebSite, 80, 2, false, "", "Company Web Site:"},
    {"FirstName", &CardRecord::FirstName, 20, 9, false, "", "First:"},
    {"LastName", &CardRecord::LastName, 20, 10, false, "", "Last:"},
    {"MiddleName", &CardRecord::MiddleName, 15, 11, false, "", "Middle:"},
    {"JobTitle", &CardRecord::JobTitle, 15, 16, false, "", "Job Title:"},
    {"EMail", &CardRecord::EMail, 35, 7, false, "", "E-Mail:"},
    {"Fax", &CardRecord::Fax, 20, 8, false, "", "Fax:"},
    {"Department", &CardRecord::Department, 25, 4, false, "", "Department:"},
    {"Phone1Description", &CardRecord::Phone1Description, 20, 5, false, "Phone 1", "Desc:"},
    {"Phone1Number", &CardRecord::Phone1Number, 20, 12, false, "Phone 1", "Phone:"},
    {"Phone2Description", &CardRecord::Phone2Description, 20, 6, false, "Phone 2", "Desc:"},
    {"Phone2Number", &CardRecord::Phone2Number, 20, 13, false, "Phone 2", "Phone:"},
    {"GeneralInformation", &CardRecord::GeneralInformation, 0, -1, true, "", "General Information:"},
}};

struct CardStringInfo {
    const char* name;
    std::string CardRecord::*member;
};

// The state and display strings bound to controls, in exchange order; they
// follow the seventeen single-line fields.
inline constexpr std::array<CardStringInfo, 11> kCardStateStrings{{
    {"ImageSizeText", &CardRecord::ImageSizeText},
    {"CurrentFileLabel", &CardRecord::CurrentFileLabel},
    {"AddressBlock", &CardRecord::AddressBlock},
    {"CompanyLine", &CardRecord::CompanyLine},
    {"FaxLine", &CardRecord::FaxLine},
    {"EMailLine", &CardRecord::EMailLine},
    {"TitleLine", &CardRecord::TitleLine},
    {"NameLine", &CardRecord::NameLine},
    {"Phone1Line", &CardRecord::Phone1Line},
    {"Phone2Line", &CardRecord::Phone2Line},
    {"WebSiteLine", &CardRecord::WebSiteLine},
}};

// The nine display strings in the order a summary is listed (company group, then contact group).
inline constexpr std::array<const char*, 9> kDisplayStringOrder{"CompanyLine", "AddressBlock", "WebSiteLine",
                                                                "NameLine",    "TitleLine",    "Phone1Line",
                                                                "Phone2Line",  "FaxLine",      "EMailLine"};

// The seventeen single-line fields in the order the window exchanges them.
std::array<const CardFieldInfo*, 17> CardExchangeOrder();

// Looks a field up by its name; null when there is none.
const CardFieldInfo* FindCardField(const std::string& name);
const CardStringInfo* FindCardString(const std::string& name);

// The form the message for an over-long field takes, with %1 for the limit.
inline constexpr const char* kFieldLimitMessage = "Please enter no more than %1 characters.";
std::string FieldLimitMessage(int limit);

}  // namespace ovlet::card
