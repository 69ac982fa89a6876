// Makes the program's pictures: the world map from Natural Earth land outlines (TopoJSON), the celestial
// grid, the sky-noise chart from the 408 MHz survey, and the icon.
//   skyrel-make-assets --land land-50m.json --survey tsky408.dat --out assets/
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "icon.h"
#include "skycharts.h"
#include "topojson.h"
#include "worldmap.h"

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "skyrel-make-assets: %s\n", qPrintable(message));
    return 1;
}

bool Save(const QImage& image, const QString& path, const char* format, int quality = -1) {
    return image.save(path, format, quality);
}

}  // namespace

int main(int argc, char** argv) {
    // Text needs a GUI application, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Makes the world map, the sky charts and the icon of Skyrel."));
    parser.addHelpOption();
    const QCommandLineOption landOption(QStringLiteral("land"), QStringLiteral("TopoJSON land outlines."),
                                        QStringLiteral("file"));
    const QCommandLineOption surveyOption(QStringLiteral("survey"), QStringLiteral("408 MHz survey grid."),
                                          QStringLiteral("file"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Folder for the pictures."),
                                       QStringLiteral("folder"));
    parser.addOptions({landOption, surveyOption, outOption});
    parser.process(app);
    if (!parser.isSet(landOption) || !parser.isSet(surveyOption) || !parser.isSet(outOption))
        return Fail(QStringLiteral("--land, --survey and --out are all needed"));

    QFile landFile(parser.value(landOption));
    if (!landFile.open(QIODevice::ReadOnly)) return Fail(landFile.fileName() + QStringLiteral(": ") + landFile.errorString());
    const skyrel::assets::LandOutlines land = skyrel::assets::DecodeTopoJsonLand(landFile.readAll(), QStringLiteral("land"));
    if (!land.error.isEmpty()) return Fail(landFile.fileName() + QStringLiteral(": ") + land.error);

    QFile surveyFile(parser.value(surveyOption));
    if (!surveyFile.open(QIODevice::ReadOnly))
        return Fail(surveyFile.fileName() + QStringLiteral(": ") + surveyFile.errorString());
    const QByteArray surveyBytes = surveyFile.readAll();
    const auto survey = nav::SkySurvey::FromBytes(std::string_view(surveyBytes.constData(), surveyBytes.size()));
    if (!survey) return Fail(surveyFile.fileName() + QStringLiteral(": not a 360 x 180 grid of 16-bit samples of positive temperatures"));

    const QDir out(parser.value(outOption));
    if (!QDir().mkpath(out.path())) return Fail(out.path() + QStringLiteral(": cannot create the folder"));
    const struct {
        QImage image;
        const char* name;
        const char* format;
        int quality;
    } pictures[] = {
        {skyrel::assets::MakeWorldMap(land.rings), "worldmap.bmp", "BMP", -1},
        {skyrel::assets::MakeCelestialGrid(), "celestialgrid.jpg", "JPEG", 92},
        {skyrel::assets::MakeSkyNoiseChart(*survey), "skynoise.jpg", "JPEG", 92},
        {skyrel::assets::MakeIcon(), "skyrel-icon.png", "PNG", -1},
    };
    for (const auto& picture : pictures) {
        const QString path = out.filePath(QString::fromLatin1(picture.name));
        if (!Save(picture.image, path, picture.format, picture.quality)) return Fail(path + QStringLiteral(": cannot write"));
    }
    return 0;
}
