#include "ui/common/Images.h"

#include <QtGlobal>
#include <cmath>

#include "ui/common/Resources.h"

static void InitMainWindowQrc() { Q_INIT_RESOURCE(mainwindow); }

namespace mirudex::ui {

void InitImageResources()
{
    static const bool done = [] {
        InitMainWindowQrc();
        return true;
    }();
    (void)done;
}

namespace {

QPixmap Scaled(const QPixmap& picture, int factor)
{
    if (picture.isNull() || factor <= 1)
        return picture;
    QPixmap scaled = picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(factor);
    return scaled;
}

}  // namespace

QPixmap PixelPixmap(const QString& path, qreal devicePixelRatio)
{
    return Scaled(QPixmap(path), static_cast<int>(std::lround(devicePixelRatio)));
}

QIcon PixelIcon(const QString& path)
{
    const QPixmap picture(path);
    QIcon icon;
    for (int factor = 1; factor <= 3; ++factor)
        icon.addPixmap(Scaled(picture, factor));
    return icon;
}

QImage LegiblePicture(const QImage& picture, const QColor& background)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const bool dark = ContrastRatio(background, Qt::white) > ContrastRatio(background, Qt::black);
    if (!dark || out.isNull())
        return out;
    const QImage in = out;
    auto clear = [&in](int x, int y) {
        return x < 0 || y < 0 || x >= in.width() || y >= in.height() || qAlpha(in.pixel(x, y)) < 128;
    };
    for (int y = 0; y < in.height(); ++y) {
        for (int x = 0; x < in.width(); ++x) {
            const QRgb p = in.pixel(x, y);
            if (qAlpha(p) < 128)
                continue;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy)
                for (int dx = -1; dx <= 1 && !edge; ++dx)
                    edge = (dx || dy) && clear(x + dx, y + dy);
            if (!edge)
                continue;
            QColor c = LegibleOn(QColor(qRed(p), qGreen(p), qBlue(p)), background);
            c.setAlpha(qAlpha(p));
            out.setPixel(x, y, c.rgba());
        }
    }
    return out;
}

QIcon PixelIconOn(const QString& path, const QColor& background)
{
    const QPixmap picture = QPixmap::fromImage(LegiblePicture(QImage(path), background));
    QIcon icon;
    for (int factor = 1; factor <= 3; ++factor)
        icon.addPixmap(Scaled(picture, factor));
    return icon;
}

QIcon ProgramIcon()
{
    // Given as a picture, not a file name: an icon made from a file name asks
    // every image plugin whether it can read the file, which loads them all.
    return QIcon(QPixmap(QStringLiteral(":/images/icon111.png"), "PNG"));
}

}  // namespace mirudex::ui
