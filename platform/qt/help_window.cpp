#include "platform/qt/help_window.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QWidget>
#include <algorithm>

#include "files/input_file.h"

namespace ovlet::platform {
namespace {

// The contents are the manual's <h2 id="..."> headings.
class HelpWindow : public QWidget {
public:
    HelpWindow(QWidget* owner, const QString& file, const QString& html) : QWidget(owner, Qt::Window) {
        resize(760, 540);
        auto* splitter = new QSplitter(this);
        contents = new QListWidget(splitter);
        browser = new QTextBrowser(splitter);
        browser->setOpenExternalLinks(false);
        browser->setOpenLinks(true);
        browser->setSearchPaths({QFileInfo(file).absolutePath()});
        browser->setHtml(html);
        // The manual names itself in its title.
        const QString title = browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QFileInfo(file).completeBaseName() : title);
        // The contents take what their longest heading needs, the text the
        // rest: no empty band between them.
        splitter->setChildrenCollapsible(false);
        splitter->setStretchFactor(0, 0);
        splitter->setStretchFactor(1, 1);
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(splitter);

        static const QRegularExpression heading(R"re(<h2[^>]*id="([^"]+)"[^>]*>(.*?)</h2>)re",
                                                QRegularExpression::DotMatchesEverythingOption);
        for (auto it = heading.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            auto* item = new QListWidgetItem(QTextDocumentFragment::fromHtml(m.captured(2)).toPlainText(), contents);
            item->setData(Qt::UserRole, m.captured(1));
        }
        contents->setMaximumWidth(220);
        const int contentsWidth = std::min(220, contents->sizeHintForColumn(0) + 2 * contents->frameWidth() + 8);
        splitter->setSizes({contentsWidth, width() - contentsWidth - splitter->handleWidth()});
        connect(contents, &QListWidget::itemActivated, this, &HelpWindow::Go);
        connect(contents, &QListWidget::itemClicked, this, &HelpWindow::Go);
    }

private:
    void Go(QListWidgetItem* item) { browser->scrollToAnchor(item->data(Qt::UserRole).toString()); }

    QListWidget* contents;
    QTextBrowser* browser;
};

}  // namespace

bool ShowHelpWindow(QWidget* owner, const QString& helpFile) {
    // Read through the programs' one reader, as every file they read.
    files::ReadOptions options;
    options.maxBytes = files::kMaxTextFileBytes;
    const files::Result<std::string> bytes = files::ReadWholeText(QFile::encodeName(helpFile).toStdString(), options);
    if (!bytes) return false;
    const QString html = QString::fromUtf8(bytes.Value().data(), static_cast<qsizetype>(bytes.Value().size()));
    if (html.isEmpty()) return false;
    static QPointer<HelpWindow> window;
    delete window;
    window = new HelpWindow(owner, helpFile, html);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

}  // namespace ovlet::platform
