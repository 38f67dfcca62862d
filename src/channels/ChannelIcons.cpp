#include "ChannelIcons.h"

#include "PngImage.h"

#include <QPixmap>

// The icons live in a static library: make sure their resource data is linked in.
static bool initResources()
{
    Q_INIT_RESOURCE(ChannelIcons);
    return true;
}

namespace {
constexpr int kFirstChannelIcon = 101;
constexpr int kFirstWindowIcon = 129;
constexpr int kLastWindowIcon = 135;

QIcon loadIcon(const QString& path)
{
    static const bool registered = initResources();
    Q_UNUSED(registered);
    const QImage image = ReadPngImage(path);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}
} // namespace

QList<QIcon> LoadChannelImages()
{
    QList<QIcon> images;
    images.reserve(kChannelIconCount);
    for (int k = 0; k < kChannelIconCount; ++k)
        images.append(loadIcon(QStringLiteral(":/channels/channel_%1.png").arg(kFirstChannelIcon + k)));
    return images;
}

QIcon LoadWindowIcon(int id)
{
    if (id < kFirstWindowIcon || id > kLastWindowIcon)
        return QIcon();
    return loadIcon(QStringLiteral(":/channels/window_%1.png").arg(id));
}
