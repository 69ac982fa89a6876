#include "app/settings/settingswriter.h"

#include <vector>

#include "app/settings/numbertext.h"
#include "navlib/timecal.h"

namespace skyrel {
namespace {

constexpr int kStoredNameLength = 16;

QString FlagText(bool flag) { return flag ? QStringLiteral("true") : QStringLiteral("false"); }

void Run(const std::function<void()>& action) {
    if (action) action();
}

struct NumberBox {
    SetupField field;
    QString text;  // with the default in place of an empty box
    const NumberRange* range = nullptr;  // none: any number
};

// The form's park and offset texts, in the order of kPointingOptions.
std::array<QString, 10> PointingTexts(const SetupForm& f) {
    return {f.parkAz,      f.parkEl,      f.offsetAz[1], f.offsetEl[1], f.offsetAz[2],
            f.offsetEl[2], f.offsetAz[3], f.offsetEl[3], f.offsetAz[0], f.offsetEl[0]};
}

// The number boxes in the order they are checked; the clock offset only when set by hand.
std::vector<NumberBox> NumberBoxes(const SetupForm& form) {
    std::vector<NumberBox> boxes;
    if (!form.autoTime) boxes.push_back({SetupField::ClockOffset, form.clockOffset, &kClockOffsetRange});
    boxes.push_back({SetupField::Latitude, OrDefault(form.latitude, kDefaultLatitudeText), &kLatitudeRange});
    boxes.push_back({SetupField::Longitude, OrDefault(form.longitude, kDefaultLongitudeText), &kLongitudeRange});
    boxes.push_back({SetupField::Height, OrDefault(form.height, kDefaultHeightText), &kHeightRange});
    const std::array<QString, 10> pointing = PointingTexts(form);
    for (std::size_t i = 0; i < pointing.size(); ++i)
        boxes.push_back({static_cast<SetupField>(static_cast<int>(SetupField::ParkAz) + i), pointing[i]});
    return boxes;
}

}  // namespace

std::optional<SetupFormError> CheckSetupForm(const SetupForm& form) {
    for (const NumberBox& box : NumberBoxes(form)) {
        if (box.range) {
            if (auto refusal = RangeRefusal(box.text, *box.range)) return SetupFormError{box.field, *refusal};
        } else if (!ParseReal(box.text)) {
            return SetupFormError{box.field, InvalidRealMessage(box.text)};
        }
    }
    return std::nullopt;
}

std::optional<SetupFormError> SaveSettings(SettingsStore& store, const nav::ClockSource& clock,
                                           const SetupForm& form, Settings& s, TrackingState& tracking,
                                           const SaveActions& actions) {
    if (auto error = CheckSetupForm(form)) return error;
    Run(actions.beforeWriting);

    const auto write = [&store](const char* name, const QString& text) {
        store.write(kOptionsGroup, QLatin1String(name), text);
    };
    // Every text below passed the check, so it converts.
    const auto writeReal = [&write](const char* name, const QString& text, double& field) {
        write(name, text);
        field = *ParseReal(text);
    };

    s.sunHorizon = form.sunHorizon;
    s.sunSubPoint = form.sunSubPoint;
    s.moonHorizon = form.moonHorizon;
    s.moonSubPoint = form.moonSubPoint;
    s.sunShadow = form.sunShadow;
    s.moonShadow = form.moonShadow;
    write("Sun Shadow", FlagText(s.sunShadow));
    write("Moon Shadow", FlagText(s.moonShadow));
    write("Sun Horizon", FlagText(s.sunHorizon));
    write("Moon Horizon", FlagText(s.moonHorizon));
    write("Sun Sub Pt", FlagText(s.sunSubPoint));
    write("Moon Sub Pt", FlagText(s.moonSubPoint));

    if (form.autoTime) {
        s.autoTime = true;
        write("Auto Time", FlagText(true));
        s.clockOffset = nav::AutoClockOffset(clock);
    } else {
        s.autoTime = false;
        write("Auto Time", FlagText(false));
        writeReal("TimeOff", form.clockOffset, s.clockOffset);
    }

    writeReal("Observer Latitude", OrDefault(form.latitude, kDefaultLatitudeText), s.site.latitude);
    writeReal("Observer Longitude", OrDefault(form.longitude, kDefaultLongitudeText), s.site.longitude);
    writeReal("Observer Height", OrDefault(form.height, kDefaultHeightText), s.site.height);
    const QString name = FirstCharacters(OrDefault(form.name, kDefaultObserverName), kStoredNameLength);
    write("Observer Name", name);
    s.site.name = name.toStdString();
    Run(actions.applySite);

    s.comPort = form.portIndex;
    write("Com Port", QString::number(form.portIndex));
    s.baudRate = BaudRateOfIndex(form.baudIndex);
    write("Baud Rate", QString::number(form.baudIndex));

    const std::array<QString, 10> pointing = PointingTexts(form);
    for (std::size_t i = 0; i < pointing.size(); ++i)
        writeReal(kPointingOptions[i].name, pointing[i], kPointingOptions[i].field(s));

    s.activeFeed = form.activeFeed;
    write("Active Feed", FeedText(form.activeFeed));
    s.outputFormat = form.outputFormat;
    write("Output Format", form.outputFormat);
    if (!store.sync()) Run(actions.storeFailed);

    if (s.comPort == 0) {
        tracking.ddeOutput = true;
        Run(actions.closePort);
    } else {
        tracking.ddeOutput = false;
        Run(actions.openPortIfTracking);
    }
    return std::nullopt;
}

void SaveFeedCaption(SettingsStore& store, Settings& settings, int feedIndex, const QString& caption) {
    settings.feedCaption[feedIndex] = caption;
    store.write(kOptionsGroup, FeedCaptionName(feedIndex), caption);
    store.sync();
}

void SaveEphemeris(SettingsStore& store, Settings& settings, nav::Ephemeris ephemeris) {
    settings.site.ephemeris = ephemeris;
    store.write(kOptionsGroup, QStringLiteral("Ephemeris"), EphemerisText(ephemeris));
    store.sync();
}

void SaveSource(SettingsStore& store, Settings& settings, nav::RadioSource source) {
    settings.source = source;
    store.write(kOptionsGroup, QStringLiteral("Source"), SourceKey(source));
    store.sync();
}

QString FirstCharacters(const QString& text, int count) {
    qsizetype end = 0;
    for (int n = 0; n < count && end < text.size(); ++n) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

}  // namespace skyrel
