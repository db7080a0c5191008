// The picture panel: shows one picture file shrunk to fit and centred on a
// black panel, or "No Image Data" without one.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <utility>

class CAnyPicDecoder;
class QPainter;
class CDataSource;

// Where and how large a w x h picture is drawn in a W x H panel.
struct PicturePlacement {
    int x = 0;
    int y = 0;
    double factor = 1.0;
    int width = 0;  // drawn size
    int height = 0;
};
PicturePlacement PlacePicture(int panelWidth, int panelHeight, int pictureWidth, int pictureHeight);

// The one decoder every panel of the program uses.
CAnyPicDecoder& SharedDecoder();

class CPictureStatic : public QWidget {
    Q_OBJECT
public:
    explicit CPictureStatic(QWidget* parent = nullptr);

    // Decodes the file at once and keeps the picture at the size it is shown
    // at, in the screen's pixels; `size` receives the picture's own width and
    // height. An empty name shows no picture. When the file cannot be
    // decoded, false is returned, `error` says why, and the panel goes on
    // showing what it showed.
    bool SetPictureFile(const std::string& name, std::pair<int, int>* size = nullptr, std::string* error = nullptr);
    // The same for a picture already in memory (`name` is what the panel reports).
    bool SetPictureData(const std::string& name, const std::uint8_t* bytes, std::int32_t length,
                        std::pair<int, int>* size = nullptr, std::string* error = nullptr);
    // Only reads the picture's header: the panel takes the name and the size
    // at once and paints its frame until the pixels come (a later
    // SetPictureData or SetPictureFile); the first such paint announces
    // itself with PendingPainted, so the pixels can be made once the window
    // is on screen. False, with `error` set and nothing changed, when the
    // header cannot be read.
    bool SetPictureHeader(const std::string& name, const std::uint8_t* bytes, std::int32_t length,
                          std::pair<int, int>* size = nullptr, std::string* error = nullptr);
    bool IsPicturePending() const { return pending; }
    // The picture library's code (DECERR_...) of the last decode that
    // failed; 0 after one that succeeded.
    int LastErrorCode() const { return errorCode; }
    const std::string& GetPictureFile() const { return fileName; }
    // The picture's own size, as its file says; (0, 0) before the first one.
    std::pair<int, int> PictureSize() const { return pictureSize; }
    // What the panel keeps of the picture: the shrunk picture in the
    // screen's pixels (its device pixel ratio set), top line first.
    const QImage& ShownImage() const { return shown; }

    // How assistive technology names the picture: %1 and %2 are its width
    // and height. Without a picture the panel is named by what it shows.
    void SetNameFormat(const QString& format);

signals:
    // A pending picture's frame has been painted (once per picture; delivered
    // after the paint, once it is on screen).
    void PendingPainted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool Decode(const std::string& name, CDataSource* memory, std::pair<int, int>* size, std::string* error);
    // Where the picture goes and its size there in device pixels.
    PicturePlacement Placement() const;
    QSize DeviceSize(const PicturePlacement& place) const;
    void UpdateName();
    void DrawFocus(QPainter& painter) const;

    // Replaced as a whole by each decode that succeeds, so a failed decode
    // never leaves a half-made picture on screen.
    QImage shown;
    std::pair<int, int> pictureSize{0, 0};
    std::string fileName;
    QString nameFormat;
    int errorCode = 0;
    bool pending = false;           // the name and size are known, the pixels not yet
    bool pendingAnnounced = false;  // PendingPainted was sent for the pending picture
};
