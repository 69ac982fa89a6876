// Makes the desktop icons from the program icon: one PNG per size, in the layout of the hicolor theme.
//   skyrel-icon-sizes ICON.png OUT-FOLDER SIZE...   writes OUT-FOLDER/SIZExSIZE/apps/skyrel.png
// The icon is 32 x 32 pixel art. Each pixel first grows to a whole block of at least the wanted size, so
// the larger icons keep sharp pixel edges, and then the picture is averaged down to the exact size, so
// the sizes that are no whole multiple of 32 (16, 48) stay free of uneven pixel widths.
#include <QDir>
#include <QImage>
#include <cstdio>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "skyrel-icon-sizes: %s\n", qPrintable(message));
    return 1;
}

QImage Resized(const QImage& icon, int size) {
    const int factor = (size + icon.width() - 1) / icon.width();
    const QImage blocks = icon.scaled(icon.width() * factor, icon.height() * factor, Qt::IgnoreAspectRatio,
                                      Qt::FastTransformation);
    if (blocks.width() == size) return blocks;
    return blocks.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return Fail(QStringLiteral("usage: skyrel-icon-sizes ICON.png OUT-FOLDER SIZE..."));
    const QImage icon = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
    if (icon.isNull() || icon.width() != icon.height())
        return Fail(QString::fromLocal8Bit(argv[1]) + QStringLiteral(": not a square picture"));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        bool isNumber = false;
        const int size = QString::fromLatin1(argv[i]).toInt(&isNumber);
        if (!isNumber || size < 1) return Fail(QString::fromLatin1(argv[i]) + QStringLiteral(": not a size"));
        const QString folder = out.filePath(QStringLiteral("%1x%1/apps").arg(size));
        if (!QDir().mkpath(folder)) return Fail(folder + QStringLiteral(": cannot create the folder"));
        const QString path = folder + QStringLiteral("/skyrel.png");
        if (!Resized(icon, size).save(path, "PNG")) return Fail(path + QStringLiteral(": cannot write"));
    }
    return 0;
}
