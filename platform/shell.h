// Handing a card's web site and e-mail address to the desktop.
#pragma once

#include <string>

class QWidget;

namespace platform {

// Opens the web site in the browser, or tells the user why it is not opened.
void OpenWebSiteAddress(QWidget* owner, const std::string& webSiteAnsi);
// Starts a new e-mail to the address in the mail program.
void SendMailTo(const std::string& eMailAnsi);
// Opens one of the program's own web addresses (UTF-8).
void OpenAddress(const std::string& url);

}  // namespace platform
