#include "controls/picture_static.h"

#include <QPainter>

#include "picture/any_pic_decoder.h"
#include "picture/data_source.h"
#include "picture/text_exception.h"
#include "platform/painter_device.h"

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
    p.width = static_cast<int>(w * p.factor);
    p.height = static_cast<int>(h * p.factor);
    p.x = (innerWidth - p.width) / 2 + 1;
    p.y = (innerHeight - p.height) / 2 + 1;
    return p;
}

CAnyPicDecoder& SharedDecoder() {
    static CAnyPicDecoder decoder;
    return decoder;
}

CPictureStatic::CPictureStatic(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
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

bool CPictureStatic::Decode(const std::string& name, CDataSource* memory, std::pair<int, int>* size,
                            std::string* error) {
    if (!name.empty()) {
        auto decoded = std::make_unique<CWinBmp>();
        try {
            if (memory) {
                SharedDecoder().DecodeSource(memory, decoded.get(), 32);
            } else {
                SharedDecoder().DecodeFile(name.c_str(), decoded.get(), 32);
            }
        } catch (const CTextException& e) {
            if (error) *error = e.GetText();
            return false;
        }
        bitmap = std::move(decoded);
        if (size) *size = bitmap->GetSize();
    }
    fileName = name;
    scaled = QPixmap();
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
        const QString text = QStringLiteral("No Image Data");
        painter.setPen(QColor(255, 0, 0));
        const int textWidth = painter.fontMetrics().horizontalAdvance(text);
        painter.drawText(w / 2 - textWidth / 2, h / 2, text);
        return;
    }
    const PicturePlacement place = PlacePicture(w, h, bitmap->GetWidth(), bitmap->GetHeight());
    if (place.width <= 0 || place.height <= 0) return;
    // Repaints reuse the scaled copy; a 12-megapixel picture is shrunk once.
    const qreal ratio = devicePixelRatioF();
    const QSize target(place.width, place.height);
    if (scaled.isNull() || scaledSize != target || scaled.devicePixelRatio() != ratio) {
        scaled = QPixmap(QSize(qRound(place.width * ratio), qRound(place.height * ratio)));
        scaled.fill(Qt::black);
        QPainter cachePainter(&scaled);
        platform::PainterDevice device(cachePainter);
        bitmap->DrawScaled(&device, 0, 0, place.factor * ratio);
        cachePainter.end();
        scaled.setDevicePixelRatio(ratio);
        scaledSize = target;
    }
    painter.drawPixmap(place.x, place.y, scaled);
}
