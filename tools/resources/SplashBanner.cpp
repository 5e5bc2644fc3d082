#include "SplashBanner.h"

#include <QBuffer>
#include <QFont>
#include <QImageWriter>
#include <QPainter>
#include <QTransform>
#include <cstdlib>

namespace {

constexpr int kDotsPerMetre96Dpi = 3780;

// The name must sit in the top 61 rows: the splash window shows no more of the picture.
constexpr QRectF kMakerBox(8.0, 9.0, 363.0, 42.0);
constexpr QRectF kProductBox(70.0, 70.0, 239.0, 36.0);

QPainterPath text_path(const QString &family, QFont::Weight weight, const QString &text)
{
    QFont font(family);
    font.setWeight(weight);
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0.0, 0.0, font, text);
    return path;
}

struct Layer {
    QPointF offset;
    QColor colour;
};

} // namespace

QImage SplashBanner::render(int scale)
{
    QImage image(kWidth * scale, kHeight * scale, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setDotsPerMeterX(kDotsPerMetre96Dpi * scale);
    image.setDotsPerMeterY(kDotsPerMetre96Dpi * scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(scale, scale);
    const QPainterPath maker = text_path(QStringLiteral("Liberation Sans"), QFont::Bold,
                                         QStringLiteral("VANTOREL SOFTWARE"));
    draw_raised(painter, fitted(maker, kMakerBox), 2.2);
    const QPainterPath product = text_path(QStringLiteral("Liberation Serif"), QFont::Bold,
                                           QStringLiteral("Quiverline"));
    draw_raised(painter, fitted(product, kProductBox), 0.6);
    painter.end();
    return image;
}

// Scales the path, stretching if need be, so its outline fills the box.
QPainterPath SplashBanner::fitted(const QPainterPath &path, const QRectF &box)
{
    const QRectF bounds = path.boundingRect();
    QTransform transform;
    transform.translate(box.left(), box.top());
    transform.scale(box.width() / bounds.width(), box.height() / bounds.height());
    transform.translate(-bounds.left(), -bounds.top());
    return transform.map(path);
}

// Grey shadow below right and a soft highlight above left make the white lettering stand out.
void SplashBanner::draw_raised(QPainter &painter, const QPainterPath &path, double weight)
{
    const Layer layers[] = {
        {{2.0, 2.0}, QColor(80, 80, 80)},
        {{1.0, 1.0}, QColor(150, 150, 150)},
        {{-0.6, -0.6}, QColor(210, 210, 210)},
        {{0.0, 0.0}, Qt::white},
    };
    for (const Layer &layer : layers) {
        const QPainterPath moved = path.translated(layer.offset);
        painter.setPen(QPen(layer.colour, weight, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(layer.colour);
        painter.drawPath(moved);
    }
}

QByteArray SplashBanner::encode_jpeg(const QImage &image)
{
    const qsizetype target = kTargetBytes * image.width() / kWidth * image.height() / kHeight;
    QByteArray best;
    for (int quality = 10; quality <= 95; ++quality) {
        QByteArray candidate = jpeg_at(image, quality);
        if (best.isEmpty() || std::abs(candidate.size() - target) < std::abs(best.size() - target))
            best = std::move(candidate);
    }
    return best;
}

QByteArray SplashBanner::jpeg_at(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    writer.setProgressiveScanWrite(false);
    writer.write(image);
    return bytes;
}
