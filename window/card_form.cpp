#include "window/card_form.h"

#include <algorithm>
#include <iterator>

#include "platform/text_mark.h"
#include "resources/control_ids.h"

namespace ovlet::window {
namespace {

struct BoundControl {
    std::string card::CardRecord::*member;
    int controlId;
};

constexpr BoundControl kBoundControls[] = {
    {&card::CardRecord::Company, resources::kIdCompany},
    {&card::CardRecord::StreetAddress, resources::kIdStreetAddress},
    {&card::CardRecord::City, resources::kIdCity},
    {&card::CardRecord::StateProvince, resources::kIdStateProvince},
    {&card::CardRecord::PostalCode, resources::kIdPostalCode},
    {&card::CardRecord::Country, resources::kIdCountry},
    {&card::CardRecord::WebSite, resources::kIdWebSite},
    {&card::CardRecord::FirstName, resources::kIdFirstName},
    {&card::CardRecord::LastName, resources::kIdLastName},
    {&card::CardRecord::MiddleName, resources::kIdMiddleName},
    {&card::CardRecord::JobTitle, resources::kIdJobTitle},
    {&card::CardRecord::EMail, resources::kIdEMail},
    {&card::CardRecord::Fax, resources::kIdFax},
    {&card::CardRecord::Department, resources::kIdDepartment},
    {&card::CardRecord::Phone1Description, resources::kIdPhone1Description},
    {&card::CardRecord::Phone1Number, resources::kIdPhone1Number},
    {&card::CardRecord::Phone2Description, resources::kIdPhone2Description},
    {&card::CardRecord::Phone2Number, resources::kIdPhone2Number},
    {&card::CardRecord::GeneralInformation, resources::kIdGeneralInformation},
    {&card::CardRecord::ImageSizeText, resources::kIdImageSize},
    {&card::CardRecord::CurrentFileLabel, resources::kIdCurrentFile},
    {&card::CardRecord::CompanyLine, resources::kIdCompanyLine},
    {&card::CardRecord::AddressBlock, resources::kIdAddressBlock},
    {&card::CardRecord::WebSiteLine, resources::kIdWebSiteLine},
    {&card::CardRecord::NameLine, resources::kIdNameLine},
    {&card::CardRecord::TitleLine, resources::kIdTitleLine},
    {&card::CardRecord::Phone1Line, resources::kIdPhone1Line},
    {&card::CardRecord::Phone2Line, resources::kIdPhone2Line},
    {&card::CardRecord::FaxLine, resources::kIdFaxLine},
    {&card::CardRecord::EMailLine, resources::kIdEMailLine},
};

}  // namespace

int ControlOf(std::string card::CardRecord::*member) {
    const auto* bound = std::find_if(std::begin(kBoundControls), std::end(kBoundControls),
                                     [member](const BoundControl& b) { return b.member == member; });
    return bound == std::end(kBoundControls) ? resources::kIdNone : bound->controlId;
}

bool CardPage::Holds(int id) const {
    return std::find(fields.begin(), fields.end(), id) != fields.end() ||
           std::find(others.begin(), others.end(), id) != others.end();
}

const std::vector<FieldLabel> kFieldLabels{
    {resources::kIdCompany, resources::kIdCompanyLabel, resources::kIdNone},
    {resources::kIdStreetAddress, resources::kIdStreetAddressLabel, resources::kIdNone},
    {resources::kIdCity, resources::kIdCityLabel, resources::kIdNone},
    {resources::kIdStateProvince, resources::kIdStateProvinceLabel, resources::kIdNone},
    {resources::kIdCountry, resources::kIdCountryLabel, resources::kIdNone},
    {resources::kIdPostalCode, resources::kIdPostalCodeLabel, resources::kIdNone},
    {resources::kIdWebSite, resources::kIdWebSiteLabel, resources::kIdNone},
    {resources::kIdFirstName, resources::kIdFirstNameLabel, resources::kIdNone},
    {resources::kIdMiddleName, resources::kIdMiddleNameLabel, resources::kIdNone},
    {resources::kIdLastName, resources::kIdLastNameLabel, resources::kIdNone},
    {resources::kIdJobTitle, resources::kIdJobTitleLabel, resources::kIdNone},
    {resources::kIdDepartment, resources::kIdDepartmentLabel, resources::kIdNone},
    {resources::kIdEMail, resources::kIdEMailLabel, resources::kIdNone},
    {resources::kIdFax, resources::kIdFaxLabel, resources::kIdNone},
    {resources::kIdPhone1Description, resources::kIdPhone1DescriptionLabel, resources::kIdPhone1Group},
    {resources::kIdPhone1Number, resources::kIdPhone1NumberLabel, resources::kIdPhone1Group},
    {resources::kIdPhone2Description, resources::kIdPhone2DescriptionLabel, resources::kIdPhone2Group},
    {resources::kIdPhone2Number, resources::kIdPhone2NumberLabel, resources::kIdPhone2Group},
    {resources::kIdGeneralInformation, resources::kIdGeneralInformationLabel, resources::kIdNone},
};

const CardPage kImagePage{
    QT_TRANSLATE_NOOP("CardForm", "Image"),
    {resources::kIdPicture},
    {resources::kIdImageSizeLabel, resources::kIdImageSize, resources::kIdRemove},
    resources::kIdNone,
};

const CardPage kCompanyPage{
    QT_TRANSLATE_NOOP("CardForm", "Company"),
    {resources::kIdCompany, resources::kIdStreetAddress, resources::kIdCity, resources::kIdStateProvince,
     resources::kIdCountry, resources::kIdPostalCode, resources::kIdWebSite},
    {resources::kIdCompanyLabel, resources::kIdStreetAddressLabel, resources::kIdCityLabel,
     resources::kIdStateProvinceLabel, resources::kIdCountryLabel, resources::kIdPostalCodeLabel,
     resources::kIdWebSiteLabel},
    resources::kIdCompany,
};

const CardPage kContactPage{
    QT_TRANSLATE_NOOP("CardForm", "Contact"),
    {resources::kIdFirstName, resources::kIdMiddleName, resources::kIdLastName, resources::kIdJobTitle,
     resources::kIdDepartment, resources::kIdEMail, resources::kIdFax, resources::kIdPhone1Description,
     resources::kIdPhone1Number, resources::kIdPhone2Description, resources::kIdPhone2Number},
    {resources::kIdFirstNameLabel, resources::kIdMiddleNameLabel, resources::kIdLastNameLabel,
     resources::kIdJobTitleLabel, resources::kIdDepartmentLabel, resources::kIdEMailLabel, resources::kIdFaxLabel,
     resources::kIdPhone1Group, resources::kIdPhone1DescriptionLabel, resources::kIdPhone1NumberLabel,
     resources::kIdPhone2Group, resources::kIdPhone2DescriptionLabel, resources::kIdPhone2NumberLabel},
    resources::kIdFirstName,
};

const CardPage kInformationPage{
    QT_TRANSLATE_NOOP("CardForm", "Information"),
    {resources::kIdGeneralInformation},
    {resources::kIdGeneralInformationLabel},
    resources::kIdGeneralInformation,
};

const CardPage kSummaryPage{
    QT_TRANSLATE_NOOP("CardForm", "Contact"),
    {resources::kIdWebSiteLine, resources::kIdPhone1Line, resources::kIdPhone2Line, resources::kIdEMailLine,
     resources::kIdFaxLine},
    {resources::kIdCompanyGroup, resources::kIdCompanyLine, resources::kIdAddressBlock, resources::kIdContactGroup,
     resources::kIdNameLine, resources::kIdTitleLine},
    resources::kIdNone,
};

}  // namespace ovlet::window
