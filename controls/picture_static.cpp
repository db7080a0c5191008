#include "controls/picture_static.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/pixel_memory.h"
#include "picture/text_exception.h"
#include "picture/win_bmp.h"
#include "platform/qt/painter_device.h"

PicturePlacement PlacePicture(int panelWidth, int panelHeight, int w, int h) {
    PicturePlacement p;
    const int innerWidth = panelWidth - 2;
    const int innerHeight = panelHeight - 2;
    if (w <= 0 || h <= 0) return p;
    if (w < innerWidth && h < innerHeight) {
        p.x = (innerWidth - w) / 2;
        p.y = (innerHeight - h) / 2;
        p.width = w;
        p.height = h;
        return p;
    }
    const double rw = static_cast<double>(innerWidth) / w;
    const double rh = static_cast<double>(innerHeight) / h;
    p.factor = rw < rh ? rw : rh;
    if (p.factor < 0) p.factor = 0;
    // A very thin picture (1 x 4000) keeps at least one pixel across, so it
    // never vanishes from the panel.
    p.width = std::max(1, static_cast<int>(w * p.factor));
    p.height = std::max(1, static_cast<int>(h * p.factor));
    p.x = (innerWidth - p.width) / 2 + 1;
    p.y = (innerHeight - p.height) / 2 + 1;
    return p;
}

CAnyPicDecoder& SharedDecoder() {
    static CAnyPicDecoder decoder;
    return decoder;
}

namespace {

// The decoded picture resized to `device` pixels, top line first, in a block
// of its own, smoothly both ways: a picture enlarged for a screen of scale 2
// is drawn at the screen's resolution, not in blocks of equal pixels.
QImage ResizeDecoded(const CWinBmp& decoded, QSize device) {
    if (decoded.IsEmpty() || decoded.GetHeight() == 0) return {};
    // The bitmap's lines are stored bottom line first, so the wrapped image
    // is upside down; it is turned over once it is small.
    const QImage lines =
        platform::WrapDibLines(decoded.GetLineTable()[decoded.GetHeight() - 1], decoded.GetInfoHeader());
    const QImage sized =
        device == lines.size() ? lines : lines.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return sized.mirrored(false, true).convertToFormat(QImage::Format_RGB32);
}

// The panel reads as a picture, named by what it shows.
QAccessibleInterface* PanelAccessible(const QString&, QObject* object) {
    if (auto* panel = qobject_cast<CPictureStatic*>(object)) return new QAccessibleWidget(panel, QAccessible::Graphic);
    return nullptr;
}

}  // namespace

CPictureStatic::CPictureStatic(QWidget* parent) : QWidget(parent), nameFormat(tr("Picture, %1 x %2")) {
    static const bool kAccessible = (QAccessible::installFactory(PanelAccessible), true);
    Q_UNUSED(kAccessible);
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateName();
}

void CPictureStatic::SetNameFormat(const QString& format) {
    nameFormat = format;
    UpdateName();
}

void CPictureStatic::UpdateName() {
    setAccessibleName(fileName.empty() ? tr("No Image Data")
                                       : nameFormat.arg(pictureSize.first).arg(pictureSize.second));
}

bool CPictureStatic::SetPictureFile(const std::string& name, std::pair<int, int>* size, std::string* error) {
    return Decode(name, nullptr, size, error);
}

bool CPictureStatic::SetPictureData(const std::string& name, const std::uint8_t* bytes, std::int32_t length,
                                    std::pair<int, int>* size, std::string* error) {
    CDataSource source;
    source.OpenData(name.c_str(), bytes, length);
    const bool ok = Decode(name, &source, size, error);
    source.Close();
    return ok;
}

PicturePlacement CPictureStatic::Placement() const {
    return PlacePicture(width(), height(), pictureSize.first, pictureSize.second);
}

QSize CPictureStatic::DeviceSize(const PicturePlacement& place) const {
    const qreal ratio = devicePixelRatioF();
    return {std::max(1, static_cast<int>(std::lround(place.width * ratio))),
            std::max(1, static_cast<int>(std::lround(place.height * ratio)))};
}

bool CPictureStatic::Decode(const std::string& name, CDataSource* memory, std::pair<int, int>* size,
                            std::string* error) {
    if (!name.empty()) {
        // The panel needs no more pixels than it shows: the inner area in the
        // screen's pixels bounds what the decoder makes (a JPEG picture is
        // decoded at 1/2, 1/4 or 1/8 of its size where that is enough), and
        // only the copy at the shown size is kept.
        const qreal ratio = devicePixelRatioF();
        const auto boxWidth = static_cast<std::int32_t>(std::lround(std::max(width() - 2, 1) * ratio));
        const auto boxHeight = static_cast<std::int32_t>(std::lround(std::max(height() - 2, 1) * ratio));
        bool decodedOk = true;
        {
            CWinBmp decoded;
            PictureHeader header;
            try {
                header = memory ? SharedDecoder().DecodeSourceToFit(memory, &decoded, 32, boxWidth, boxHeight)
                                : SharedDecoder().DecodeFileToFit(name.c_str(), &decoded, 32, boxWidth, boxHeight);
            } catch (const CTextException& e) {
                if (error) *error = e.GetText();
                errorCode = e.GetCode();
                decodedOk = false;
            }
            if (decodedOk) {
                pictureSize = {header.width, header.height};
                const PicturePlacement place = Placement();
                shown = place.width > 0 && place.height > 0 ? ResizeDecoded(decoded, DeviceSize(place)) : QImage();
                shown.setDevicePixelRatio(ratio);
            }
        }
        // Only the shown copy stays, and the window may not see another
        // picture for a long time: the decode's large blocks go back now
        // instead of waiting as spares.
        PixelBlock::ReleaseSpares();
        if (!decodedOk) return false;
        if (size) *size = pictureSize;
    }
    fileName = name;
    errorCode = 0;
    UpdateName();
    if (parentWidget()) parentWidget()->update();
    update();
    return true;
}

void CPictureStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), Qt::black);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, w - 1, h - 1);
    if (fileName.empty()) {
        const QString text = tr("No Image Data");
        painter.setPen(QColor(255, 0, 0));
        const int textWidth = painter.fontMetrics().horizontalAdvance(text);
        painter.drawText(w / 2 - textWidth / 2, h / 2, text);
        DrawFocus(painter);
        return;
    }
    const PicturePlacement place = Placement();
    if (place.width <= 0 || place.height <= 0 || shown.isNull()) return;
    // A panel that changed its size or screen since the decode scales what it
    // keeps; as a rule the kept copy fits exactly and is copied as it is.
    const QSize device = DeviceSize(place);
    if (shown.size() != device) {
        shown = shown.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        shown.setDevicePixelRatio(devicePixelRatioF());
    }
    painter.drawImage(QPoint(place.x, place.y), shown);
    DrawFocus(painter);
}

void CPictureStatic::DrawFocus(QPainter& painter) const {
    // The keyboard's place: a dotted ring just inside the frame while the
    // panel has the focus.
    if (!hasFocus()) return;
    painter.setPen(QPen(QColor(160, 160, 160), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(1, 1, width() - 3, height() - 3);
}

void CPictureStatic::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CPictureStatic::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}
