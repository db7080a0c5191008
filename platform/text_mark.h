// Marks a text for the translation catalogues where it is written, without
// translating it there: the tools that gather the texts look for this name,
// and the window translates the text where it shows it (platform::Translate).
// The definition is the toolkit's own, token for token, so both may be seen.
#pragma once

#define QT_TRANSLATE_NOOP(scope, x) x
