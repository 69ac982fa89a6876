#include "app/radio/radiosettings.h"

#include <array>
#include <utility>

namespace skyrel {
namespace {

const QString kModeName = QStringLiteral("Mode");
const QString kRxSkyName = QStringLiteral("Rx Sky");
const QString kTxSkyName = QStringLiteral("Tx Sky");
const QString kRxLoName = QStringLiteral("Rx LO");
const QString kTxLoName = QStringLiteral("Tx LO");
const QString kRxInvertName = QStringLiteral("Rx Invert");
const QString kTxInvertName = QStringLiteral("Tx Invert");
const QString kStepName = QStringLiteral("Step");
const QString kSplitName = QStringLiteral("Split");

struct ModeNames {
    nav::RadioMode mode;
    const char* text;  // as stored and shown
    const char* word;  // on command lines
};
const std::array<ModeNames, 6> kModeNames = {{
    {nav::RadioMode::Off, "Off", "off"},
    {nav::RadioMode::OwnEcho, "Own Echo", "echo"},
    {nav::RadioMode::ConstantOnMoon, "Constant On Moon", "moon"},
    {nav::RadioMode::FullToDx, "Full To DX", "dx"},
    {nav::RadioMode::OnDxEcho, "On DX Echo", "dx-echo"},
    {nav::RadioMode::CallDx, "Call DX", "call-dx"},
}};

QString SplitText(RadioSplit split) { return split == RadioSplit::Rig ? QStringLiteral("Rig") : QStringLiteral("None"); }

// Whole Hz: the finest any radio's dial goes.
QString HertzText(double hz) { return QString::number(hz, 'f', 0); }

nav::RadioMode ReadMode(OptionReader& reader, nav::RadioMode defaultMode) {
    QStringList names;
    for (const ModeNames& each : kModeNames) names << QLatin1String(each.text);
    return *RadioModeOfText(reader.choice(kModeName, RadioModeText(defaultMode), names));
}

RadioSplit ReadSplit(OptionReader& reader, RadioSplit defaultSplit) {
    const QString split = reader.choice(kSplitName, SplitText(defaultSplit), {SplitText(RadioSplit::Rig), SplitText(RadioSplit::None)});
    return split == SplitText(RadioSplit::Rig) ? RadioSplit::Rig : RadioSplit::None;
}

double ReadHertz(OptionReader& reader, const QString& name, double defaultHz, const NumberRange& range) {
    return reader.real(name, HertzText(defaultHz), range);
}

}  // namespace

bool RadioSettings::operator==(const RadioSettings& o) const {
    return static_cast<const HamlibDeviceSettings&>(*this) == o && mode == o.mode &&
           rxSky == o.rxSky && txSky == o.txSky && rx.loHz == o.rx.loHz && rx.inverting == o.rx.inverting &&
           tx.loHz == o.tx.loHz && tx.inverting == o.tx.inverting && step == o.step && split == o.split;
}

QString RadioModeText(nav::RadioMode mode) {
    for (const ModeNames& each : kModeNames)
        if (each.mode == mode) return QLatin1String(each.text);
    return {};
}

std::optional<nav::RadioMode> RadioModeOfText(const QString& text) {
    for (const ModeNames& each : kModeNames)
        if (text == QLatin1String(each.text)) return each.mode;
    return std::nullopt;
}

QString RadioModeWord(nav::RadioMode mode) {
    for (const ModeNames& each : kModeNames)
        if (each.mode == mode) return QLatin1String(each.word);
    return {};
}

std::optional<nav::RadioMode> RadioModeOfWord(const QString& word) {
    for (const ModeNames& each : kModeNames)
        if (word == QLatin1String(each.word)) return each.mode;
    return std::nullopt;
}

QString RadioModeWords() {
    QStringList words;
    for (const ModeNames& each : kModeNames) words << QLatin1String(each.word);
    const QString last = words.takeLast();
    return words.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

RadioSettings ReadRadioSettings(OptionReader& reader) {
    RadioSettings s;
    ReadHamlibDeviceSettings(reader, s);
    s.mode = ReadMode(reader, s.mode);
    s.rxSky = ReadHertz(reader, kRxSkyName, s.rxSky, kRadioSkyRange);
    s.txSky = ReadHertz(reader, kTxSkyName, s.txSky, kRadioSkyRange);
    s.rx.loHz = ReadHertz(reader, kRxLoName, s.rx.loHz, kRadioLoRange);
    s.tx.loHz = ReadHertz(reader, kTxLoName, s.tx.loHz, kRadioLoRange);
    s.rx.inverting = reader.onOff(kRxInvertName, s.rx.inverting);
    s.tx.inverting = reader.onOff(kTxInvertName, s.tx.inverting);
    s.step = ReadHertz(reader, kStepName, s.step, kRadioStepRange);
    s.split = ReadSplit(reader, s.split);
    return s;
}

RadioSettings LoadRadioSettings(const SettingsStore& store) {
    OptionReader reader(store, kRadioGroup);
    return ReadRadioSettings(reader);
}

bool SaveRadioSettings(SettingsStore& store, const RadioSettings& s) {
    WriteHamlibDeviceSettings(store, kRadioGroup, s);
    store.write(kRadioGroup, kModeName, RadioModeText(s.mode));
    store.write(kRadioGroup, kRxSkyName, HertzText(s.rxSky));
    store.write(kRadioGroup, kTxSkyName, HertzText(s.txSky));
    store.write(kRadioGroup, kRxLoName, HertzText(s.rx.loHz));
    store.write(kRadioGroup, kTxLoName, HertzText(s.tx.loHz));
    store.write(kRadioGroup, kRxInvertName, SwitchText(s.rx.inverting));
    store.write(kRadioGroup, kTxInvertName, SwitchText(s.tx.inverting));
    store.write(kRadioGroup, kStepName, QString::number(s.step));
    store.write(kRadioGroup, kSplitName, SplitText(s.split));
    return store.sync();
}

}  // namespace skyrel
