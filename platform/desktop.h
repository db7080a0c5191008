// What a window asks of the desktop beyond its own controls: a message box,
// a file to open or save, an address handed to the browser or mail program,
// the manual, a picture from the clipboard, a page printed, a beep. Texts and
// paths are UTF-8; a face turns them into its system's own.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ovlet::platform {

class DialogHost;

enum class MessageIcon { None, Information, Question, Exclamation, Stop };
// YesNoCancel: a question that may also be taken back (Escape is Cancel).
// YesNo has no Cancel: Escape and the close box are no answer to it.
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct FileFilter {
    std::string description;  // "Text Files (.txt)"
    std::string pattern;      // "*.txt"
};

struct FileRequest {
    bool save = false;
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // ".txt"; added when the name typed has none
    std::string initialName;       // "Untitled", or empty
    std::string title;             // empty: the desktop's own title
};

// A picture the clipboard holds: the file a file manager copied, or the bytes
// of a picture file ("pasted.png" or "pasted.jpg": a copied PNG or JPEG file's
// own bytes, any other picture as a JPEG, or a PNG when it has transparent
// pixels). `unreadable`: the clipboard says it holds a picture but gives none.
struct ClipboardPicture {
    std::string file;
    std::string name;
    std::vector<std::uint8_t> bytes;
    bool unreadable = false;
};

enum class Paper { A4, Letter };

// The face's drawing surface for a printed page (the Qt face's holds a
// painter); what draws on it is given by the face's own drawing code.
class PrintSurface;

struct PrintRequest {
    std::string documentName;
    Paper paper = Paper::A4;  // the paper asked for; the printer may hold another
    // Draws the page on the surface, for the paper the page is printed on.
    std::function<void(PrintSurface&, Paper)> paint;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // `owner` is the window the box or dialog belongs to (null: none).
    virtual MessageAnswer Message(DialogHost* owner, const std::string& caption, const std::string& text,
                                  MessageIcon icon, MessageButtons buttons) = 0;
    // The chosen file's full path, or nothing when the dialog was cancelled.
    // A Save dialog asks before an existing file is overwritten.
    virtual std::optional<std::string> ChooseFile(DialogHost* owner, const FileRequest& request) = 0;
    // Hands an address to the desktop's handler (browser, mail program).
    virtual bool OpenAddress(const std::string& url) = 0;
    // Shows a manual (an HTML file) at its contents; false when it cannot.
    virtual bool ShowHelp(DialogHost* owner, const std::string& helpFile) = 0;
    // What the clipboard holds as a picture; nothing when it holds none.
    virtual std::optional<ClipboardPicture> PictureOnClipboard() = 0;
    // The desktop's print preview of one page; true when it was printed.
    virtual bool Print(DialogHost* owner, const PrintRequest& request) = 0;
    virtual void Beep() = 0;
    // The paper the user's locale prints on: US Letter where it measures in inches.
    virtual Paper UsersPaper() { return Paper::A4; }
};

}  // namespace ovlet::platform
