#include "ui/common/Images.h"

#include <QtGlobal>
#include <cmath>

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

QIcon ProgramIcon()
{
    // Given as a picture, not a file name: an icon made from a file name asks
    // every image plugin whether it can read the file, which loads them all.
    return QIcon(QPixmap(QStringLiteral(":/images/icon111.png"), "PNG"));
}

}  // namespace mirudex::ui
