// The card codec's and the summary's messages in the user's language. The
// codec speaks English (the command-line tool shows its words as they are);
// the windows show the same words translated.
#pragma once

#include <QString>
#include <string>
#include <vector>

// A message of the card codec or of a link's hand-over, translated. A message
// with a variable part (a file name, a decoder's reason) keeps that part as it
// is; a message the table does not know is shown as it stands.
QString CardMessageText(const std::string& message);

// "Please enter no more than %1 characters.", translated.
QString FieldLimitText(int limit);

// Every message pattern the table translates, as written (%1 marks the
// variable part), for the tests.
std::vector<const char*> CardMessagePatterns();
