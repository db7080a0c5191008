// A modal dialog built at run time from a dialog template: controls by id,
// positions in dialog units, the template order as the Tab order, Enter and
// Escape as the dialog's OK and cancel. A dialog without an owner opens
// centred on the screen.
#pragma once

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QMap>
#include <QMenu>
#include <QPointer>
#include <QRect>
#include <functional>
#include <map>
#include <vector>

#include "platform/dialog.h"
#include "platform/dialog_template.h"

class QTabBar;

namespace ovlet::platform {

// The base units that turn dialog units into pixels: one horizontal unit is a
// quarter of the font's average character width, one vertical unit an eighth
// of its height. The layouts were drawn for a font whose one-line labels fit
// their boxes; where this font sets one wider, the horizontal unit grows until
// it fits with a pixel to spare, so no label runs into the field beside it.
struct DialogUnits {
    double baseX = 6;
    double baseY = 13;
    static DialogUnits ForTemplate(const QFont& font, const DialogTemplate& dialog);
    // Edges are rounded down, so neighbouring boxes share their edges exactly.
    int X(int units) const;
    int Y(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const;
};

QFont DialogFont(int pointSize);

// The icon of a program by its name ("ovmake"), for DialogHost::SetIcon;
// the program's start installs where its icons come from.
void SetIconSource(std::function<QIcon(const std::string&)> source);
QIcon IconOf(const std::string& program);

// The dialog is also the DialogHost of the controls it made: a handler (or a
// window not yet written as one) reaches them by id in UTF-8.
class TemplateDialog : public QDialog, public DialogHost {
    Q_OBJECT
public:
    explicit TemplateDialog(const DialogTemplate& dialog, QWidget* parent = nullptr);

    // DialogHost.
    bool HasControl(int id) const override { return Item(id) != nullptr; }
    std::string Text(int id) const override { return ItemText(id).toStdString(); }
    void SetText(int id, const std::string& text) override { SetItemText(id, QString::fromStdString(text)); }
    void SetCaption(const std::string& text) override { setWindowTitle(QString::fromStdString(text)); }
    void SetIcon(const std::string& program) override { setWindowIcon(IconOf(program)); }
    void Enable(int id, bool enable) override;
    bool IsEnabled(int id) const override;
    void Show(int id, bool show) override { ShowItem(id, show); }
    bool IsShown(int id) const override { return IsItemShown(id); }
    void Focus(int id) override;
    int Focused() const override;
    void SetLimit(int id, int characters) override;
    void SetReadOnly(int id, bool readOnly) override;
    void SelectAllText(int id) override;
    void SetToolTip(int id, const std::string& text) override;
    void SetAccessibleName(int id, const std::string& name) override;
    void SetAccessibleDescription(int id, const std::string& description) override;
    void SetShortening(int id, Shortening where) override;
    bool IsShortened(int id) const override;
    void SetTextFilter(int id, TextFilter accepts) override;
    void SetWindowMenu(const std::vector<MenuEntry>& entries) override;
    void SetShortcut(int command, const std::string& keys) override;
    std::string KeysText(const std::string& keys) const override;
    void SetTabOrder(const std::vector<int>& ids) override { tabOrder = ids; }
    void SetPointer(PointerLook look) override;
    void AcceptDroppedFiles(bool accept) override;
    void AddTab(int id, const std::string& text) override;
    int SelectedTab(int id) const override;
    void SelectTab(int id, int index) override;
    void StartTimer(int timer, int milliseconds) override;
    void StopTimer(int timer) override;
    void End(int result) override { done(result); }

    // The timers follow a clock the caller moves (AdvanceClock) instead of
    // the system's: a test runs through seconds of timers at once.
    void UseScriptedClock() { scriptedClock = true; }
    void AdvanceClock(int milliseconds);

    // Opens the window's menu (SetWindowMenu) at `at`, in global coordinates;
    // the menu open last, while it lives.
    void PopUpWindowMenu(const QPoint& at);
    QMenu* PoppedMenu() const { return poppedMenu; }

    // Builds the controls and initialises the dialog (once); DoModal also runs it.
    void Create();
    int DoModal();

    QWidget* Item(int id) const { return items.value(id, nullptr); }
    template <class T>
    T* ItemAs(int id) const {
        return qobject_cast<T*>(Item(id));
    }
    QString ItemText(int id) const;
    // A text of the template in the user's language.
    QString TemplateText(const std::string& text) const;
    void SetItemText(int id, const QString& text);
    void ShowItem(int id, bool show);
    bool IsItemShown(int id) const;

protected:
    // The widget for one control of the template; the default builds the
    // platform's own kinds (owner-drawn buttons and picture panels must be
    // supplied by the owning window).
    virtual QWidget* CreateControl(const ControlTemplate& control);
    virtual void OnInitDialog() {}
    // A timer started with StartTimer fell due.
    virtual void OnTimer(int) {}
    void timerEvent(QTimerEvent* event) override;
    // A button or link with this id was clicked (kIdOk, kIdCancel: OK and cancel).
    virtual void OnCommand(int id);
    // The user changed an edit's text, turned a tab control's page, or gave
    // an edit text its filter refuses (SetTextFilter).
    virtual void OnTextChanged(int) {}
    virtual void OnTabChanged(int) {}
    virtual void OnTextRefused(int, const std::string&) {}
    // A file dragged over the window (AcceptDroppedFiles): whether it is
    // taken; and the file dropped, once the drop has ended.
    virtual bool FileOffered(const std::string&) { return false; }
    virtual void FileDropped(const std::string&) {}
    virtual void OnOK() { done(QDialog::Accepted); }
    virtual void OnCancel() { done(QDialog::Rejected); }
    // The window's close request (close box, Alt+F4); true lets the window end.
    virtual bool OnClose() {
        OnCancel();
        return true;
    }

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void reject() override { OnCancel(); }
    void accept() override { OnOK(); }
    void done(int result) override;

    // Connects the user's changes of an edit or a tab control to OnTextChanged and OnTabChanged.
    void ConnectNotifications(QWidget* widget, int id);
    // Connects a clickable widget to OnCommand(id).
    void RouteClicks(QWidget* widget, int id);

private:
    // A drag or drop of a file, taken or refused; false for anything else.
    bool HandleFileDrag(QDropEvent* event);

    const DialogTemplate& dialogTemplate;
    QFont dialogFont;
    DialogUnits units;
    QMap<int, QWidget*> items;
    bool created = false;
    bool ending = false;  // done() was called: the close that follows asks nothing
    struct Timer {
        int interval;
        long long due;  // on the scripted clock
        int systemId;   // the toolkit's timer, when the system's clock runs it
    };
    std::map<int, Timer> timers;
    bool scriptedClock = false;
    long long now = 0;
    std::vector<MenuEntry> menuEntries;
    QPointer<QMenu> poppedMenu;
    std::vector<QObject*> menuKeys;                           // the keys that open the window's menu
    std::map<int, std::vector<QPointer<QObject>>> shortcuts;  // by command
    std::vector<int> tabOrder;
    bool busy = false;
    bool selectingTab = false;  // SelectTab: the page turns, but not by the user
};

}  // namespace ovlet::platform
