#include "app/program/commandline.h"

#include <QStringList>
#include <cstdio>

#include "app/program/version.h"
#include "app/radio/radiosettings.h"
#include "app/settings/settingsstore.h"
#include "app/web/websettings.h"

namespace skyrel {
namespace {

CommandLine Refused(const QString& line) {
    CommandLine refused;
    refused.action = CommandLine::Action::Refuse;
    refused.refusal = line;
    return refused;
}

}  // namespace

CommandLine ReadCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    CommandLine command;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help")) {
            command.action = CommandLine::Action::Help;
            return command;
        }
        if (argument == QLatin1String("--version")) {
            command.action = CommandLine::Action::Version;
            return command;
        }
        if (argument == QLatin1String("--web-url")) {
            command.action = CommandLine::Action::WebUrl;
            return command;
        }
        if (argument == QLatin1String("--headless")) {
            command.headless = true;
        } else if (argument == QLatin1String("--track")) {
            if (i + 1 == arguments.size()) return Refused(QStringLiteral("--track needs sun, moon, park or source"));
            const QString name = arguments[++i];
            command.startTrack = TrackModeOfName(name);
            if (!command.startTrack || *command.startTrack == TrackMode::Off)
                return Refused(QStringLiteral("--track takes sun, moon, park or source, not '%1'").arg(name));
        } else if (argument == QLatin1String("--radio")) {
            if (i + 1 == arguments.size()) return Refused(QStringLiteral("--radio needs %1").arg(RadioModeWords()));
            const QString word = arguments[++i];
            command.startRadio = RadioModeOfWord(word);
            if (!command.startRadio)
                return Refused(QStringLiteral("--radio takes %1, not '%2'").arg(RadioModeWords(), word));
        } else {
            return Refused(QStringLiteral("unknown argument '%1' (see skyrel --help)").arg(argument));
        }
    }
    return command;
}

QString HelpText() {
    return QStringLiteral(
        "Usage: skyrel [--headless] [--track sun|moon|park|source] [--radio MODE] | --web-url\n"
        "Sun-Moon tracker for EME stations.\n"
        "\n"
        "  --headless          run the station without windows: the one-second cycle, the rotator output\n"
        "                      and the local endpoint; messages go to standard error\n"
        "  --track sun|moon|park|source\n"
        "                      start tracking at once, as the Track menu would (source: the stored one)\n"
        "  --radio off|echo|moon|dx|dx-echo|call-dx\n"
        "                      drive the radio of the settings group Radio at once, following the Moon's\n"
        "                      Doppler: Own Echo, Constant On Moon, Full To DX, On DX Echo or Call DX\n"
        "  --web-url           print the address of the station's web page, with its token for the first\n"
        "                      login, and exit (the page is enabled in the settings group Web)\n"
        "  --help              print this help and exit\n"
        "  --version           print the version and exit\n"
        "\n"
        "Exit status: 0 when the program ends normally or another copy already runs; 1 when the rotator\n"
        "port cannot be opened in the headless program; 2 for a wrong command line.\n"
        "\n"
        "Settings file: %1\n"
        "The keys a headless station sets by hand are listed in man skyrel.\n")
        .arg(NativeSettingsStore().fileName());
}

int PrintWebUrl() {
    NativeSettingsStore store;
    QStringList problems;
    const WebSettings settings = LoadWebSettingsWithToken(store, problems);
    for (const QString& problem : problems) std::fprintf(stderr, "skyrel: %s\n", qPrintable(problem));
    if (!settings.enabled) {
        std::fprintf(stderr, "skyrel: the web page is off; set Enabled=True in the group [Web] of %s\n",
                     qPrintable(store.fileName()));
        return 1;
    }
    std::printf("%s\n", qPrintable(WebLoginUrl(settings)));
    return 0;
}

QString VersionText() { return QStringLiteral("skyrel %1\n").arg(QLatin1String(kVersion)); }

}  // namespace skyrel
