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

QPixmap PixelPixmap(const QString& path, qreal devicePixelRatio)
{
    QPixmap picture(path);
    const int factor = static_cast<int>(std::lround(devicePixelRatio));
    if (picture.isNull() || factor <= 1)
        return picture;
    QPixmap scaled = picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(factor);
    return scaled;
}

QIcon PixelIcon(const QString& path)
{
    QIcon icon;
    for (int factor = 1; factor <= 3; ++factor)
        icon.addPixmap(PixelPixmap(path, factor));
    return icon;
}

}  // namespace mirudex::ui
