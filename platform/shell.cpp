#include "platform/shell.h"

#include <QString>

#include "card/card_summary.h"
#include "platform/ui_services.h"

namespace platform {

void OpenWebSiteAddress(QWidget* owner, const std::string& webSiteAnsi) {
    const LinkHandOver handOver = WebSiteHandOver(webSiteAnsi);
    if (!handOver.allowed) {
        Ui().MessageBox(owner, QStringLiteral("Ovlet Maker"), QString::fromStdString(handOver.refusal),
                        MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    Ui().OpenUrl(QString::fromStdString(handOver.address));
}

void SendMailTo(const std::string& eMailAnsi) {
    Ui().OpenUrl(QString::fromStdString(EMailHandOver(eMailAnsi).address));
}

void OpenAddress(const std::string& url) {
    Ui().OpenUrl(QString::fromStdString(url));
}

}  // namespace platform
