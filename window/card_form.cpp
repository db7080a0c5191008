#include "window/card_form.h"

#include <algorithm>
#include <iterator>

#include "platform/text_mark.h"
#include "resources/control_ids.h"

using ovlet::card::CardRecord;

namespace {

struct BoundControl {
    std::string CardRecord::*member;
    int controlId;
};

constexpr BoundControl kBoundControls[] = {
    {&CardRecord::Company, kIdCompany},
    {&CardRecord::StreetAddress, kIdStreetAddress},
    {&CardRecord::City, kIdCity},
    {&CardRecord::StateProvince, kIdStateProvince},
    {&CardRecord::PostalCode, kIdPostalCode},
    {&CardRecord::Country, kIdCountry},
    {&CardRecord::WebSite, kIdWebSite},
    {&CardRecord::FirstName, kIdFirstName},
    {&CardRecord::LastName, kIdLastName},
    {&CardRecord::MiddleName, kIdMiddleName},
    {&CardRecord::JobTitle, kIdJobTitle},
    {&CardRecord::EMail, kIdEMail},
    {&CardRecord::Fax, kIdFax},
    {&CardRecord::Department, kIdDepartment},
    {&CardRecord::Phone1Description, kIdPhone1Description},
    {&CardRecord::Phone1Number, kIdPhone1Number},
    {&CardRecord::Phone2Description, kIdPhone2Description},
    {&CardRecord::Phone2Number, kIdPhone2Number},
    {&CardRecord::GeneralInformation, kIdGeneralInformation},
    {&CardRecord::ImageSizeText, kIdImageSize},
    {&CardRecord::CurrentFileLabel, kIdCurrentFile},
    {&CardRecord::CompanyLine, kIdCompanyLine},
    {&CardRecord::AddressBlock, kIdAddressBlock},
    {&CardRecord::WebSiteLine, kIdWebSiteLine},
    {&CardRecord::NameLine, kIdNameLine},
    {&CardRecord::TitleLine, kIdTitleLine},
    {&CardRecord::Phone1Line, kIdPhone1Line},
    {&CardRecord::Phone2Line, kIdPhone2Line},
    {&CardRecord::FaxLine, kIdFaxLine},
    {&CardRecord::EMailLine, kIdEMailLine},
};

}  // namespace

int ControlOf(std::string CardRecord::*member) {
    const auto* bound = std::find_if(std::begin(kBoundControls), std::end(kBoundControls),
                                     [member](const BoundControl& b) { return b.member == member; });
    return bound == std::end(kBoundControls) ? kIdNone : bound->controlId;
}

bool CardPage::Holds(int id) const {
    return std::find(fields.begin(), fields.end(), id) != fields.end() ||
           std::find(others.begin(), others.end(), id) != others.end();
}

const std::vector<FieldLabel> kFieldLabels{
    {kIdCompany, kIdCompanyLabel, kIdNone},
    {kIdStreetAddress, kIdStreetAddressLabel, kIdNone},
    {kIdCity, kIdCityLabel, kIdNone},
    {kIdStateProvince, kIdStateProvinceLabel, kIdNone},
    {kIdCountry, kIdCountryLabel, kIdNone},
    {kIdPostalCode, kIdPostalCodeLabel, kIdNone},
    {kIdWebSite, kIdWebSiteLabel, kIdNone},
    {kIdFirstName, kIdFirstNameLabel, kIdNone},
    {kIdMiddleName, kIdMiddleNameLabel, kIdNone},
    {kIdLastName, kIdLastNameLabel, kIdNone},
    {kIdJobTitle, kIdJobTitleLabel, kIdNone},
    {kIdDepartment, kIdDepartmentLabel, kIdNone},
    {kIdEMail, kIdEMailLabel, kIdNone},
    {kIdFax, kIdFaxLabel, kIdNone},
    {kIdPhone1Description, kIdPhone1DescriptionLabel, kIdPhone1Group},
    {kIdPhone1Number, kIdPhone1NumberLabel, kIdPhone1Group},
    {kIdPhone2Description, kIdPhone2DescriptionLabel, kIdPhone2Group},
    {kIdPhone2Number, kIdPhone2NumberLabel, kIdPhone2Group},
    {kIdGeneralInformation, kIdGeneralInformationLabel, kIdNone},
};

const CardPage kImagePage{
    QT_TRANSLATE_NOOP("CardForm", "Image"),
    {kIdPicture},
    {kIdImageSizeLabel, kIdImageSize, kIdRemove},
    kIdNone,
};

const CardPage kCompanyPage{
    QT_TRANSLATE_NOOP("CardForm", "Company"),
    {kIdCompany, kIdStreetAddress, kIdCity, kIdStateProvince, kIdCountry, kIdPostalCode, kIdWebSite},
    {kIdCompanyLabel, kIdStreetAddressLabel, kIdCityLabel, kIdStateProvinceLabel, kIdCountryLabel, kIdPostalCodeLabel,
     kIdWebSiteLabel},
    kIdCompany,
};

const CardPage kContactPage{
    QT_TRANSLATE_NOOP("CardForm", "Contact"),
    {kIdFirstName, kIdMiddleName, kIdLastName, kIdJobTitle, kIdDepartment, kIdEMail, kIdFax, kIdPhone1Description,
     kIdPhone1Number, kIdPhone2Description, kIdPhone2Number},
    {kIdFirstNameLabel, kIdMiddleNameLabel, kIdLastNameLabel, kIdJobTitleLabel, kIdDepartmentLabel, kIdEMailLabel,
     kIdFaxLabel, kIdPhone1Group, kIdPhone1DescriptionLabel, kIdPhone1NumberLabel, kIdPhone2Group,
     kIdPhone2DescriptionLabel, kIdPhone2NumberLabel},
    kIdFirstName,
};

const CardPage kInformationPage{
    QT_TRANSLATE_NOOP("CardForm", "Information"),
    {kIdGeneralInformation},
    {kIdGeneralInformationLabel},
    kIdGeneralInformation,
};

const CardPage kSummaryPage{
    QT_TRANSLATE_NOOP("CardForm", "Contact"),
    {kIdWebSiteLine, kIdPhone1Line, kIdPhone2Line, kIdEMailLine, kIdFaxLine},
    {kIdCompanyGroup, kIdCompanyLine, kIdAddressBlock, kIdContactGroup, kIdNameLine, kIdTitleLine},
    kIdNone,
};
