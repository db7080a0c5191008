// A modal dialog built at run time from a dialog template: controls by id,
// positions in dialog units, the template order as the Tab order, Enter and
// Escape as the dialog's OK and cancel. A dialog without an owner opens
// centred on the screen.
#pragma once

#include <QDialog>
#include <QFont>
#include <QMap>
#include <QRect>

#include "platform/dialog_template.h"

class QTabBar;

namespace platform {

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

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    explicit TemplateDialog(const DialogTemplate& dialog, QWidget* parent = nullptr);

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
    // A button or link with this id was clicked (kIdOk, kIdCancel: OK and cancel).
    virtual void OnCommand(int id);
    virtual void OnOK() { done(QDialog::Accepted); }
    virtual void OnCancel() { done(QDialog::Rejected); }
    // The window's close request (close box, Alt+F4); true lets the window end.
    virtual bool OnClose() {
        OnCancel();
        return true;
    }

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override { OnCancel(); }
    void accept() override { OnOK(); }
    void done(int result) override;

    // Connects a clickable widget to OnCommand(id).
    void RouteClicks(QWidget* widget, int id);

private:
    const DialogTemplate& dialogTemplate;
    QFont dialogFont;
    DialogUnits units;
    QMap<int, QWidget*> items;
    bool created = false;
    bool ending = false;  // done() was called: the close that follows asks nothing
};

}  // namespace platform
