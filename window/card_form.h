// The card window described once: which control shows which part of the
// card, what each page shows, where the focus goes and in which order the Tab
// key visits the fields. Each form of the window (the maker's, the viewer's)
// is a choice of these pages.
#pragma once

#include <string>
#include <vector>

#include "card/card_record.h"
#include "window/about_dialog.h"

namespace ovlet::window {

// The control that shows a member of the record (the nineteen fields, the
// state strings and the display strings); kIdNone for any other member.
int ControlOf(std::string card::CardRecord::*member);

// An edit field with the label beside it and the group box around both
// (kIdNone when there is none): the label names the field.
struct FieldLabel {
    int field;
    int label;
    int group;
};
extern const std::vector<FieldLabel> kFieldLabels;

struct CardPage {
    const char* tab;          // the tab's text, as written (translated when shown)
    std::vector<int> fields;  // the controls the Tab key visits, in that order
    std::vector<int> others;  // labels, group boxes and texts the page also shows
    int focus;                // takes the focus when the page is turned to; kIdNone: the focus stays

    bool Holds(int id) const;
};

extern const CardPage kImagePage;
extern const CardPage kCompanyPage;
extern const CardPage kContactPage;
extern const CardPage kInformationPage;
// The summary block: the company and contact groups composed from the card.
extern const CardPage kSummaryPage;

struct CardForm {
    const char* caption;                       // the window's caption; null: the layout's
    const char* program;                       // whose icon the window shows
    std::vector<const CardPage*> pages;        // one tab each, in this order
    std::vector<const CardPage*> hiddenPages;  // pages this form never shows
    std::vector<int> hidden;                   // further controls this form never shows
    bool readOnlyInformation;                  // the General Information text can be read, not changed
    AboutForm about;
};

}  // namespace ovlet::window
