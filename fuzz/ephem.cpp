// Fuzz target: skyrel-ephem's command line and the computation it starts, run in-process, with a stored
// observer site. The input is split at zero bytes: the first part is the stored site, "LAT,LON,HEIGHT"
// as the settings file would hold the three texts (a part left out is not stored), the others are the
// arguments. Invariant: exit status 0 with output and nothing on standard error but stored values replaced
// by their defaults, or 2 with no output and one refusal line after any such replacements; no figure is
// inf or nan. A stored site that makes the computation
// run on without end is a finding of the run's time limit.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "app/settings/settingsstore.h"
#include "fuzz/fuzzsupport.h"
#include "tools/skyrel-ephem/options.h"
#include "tools/skyrel-ephem/run.h"

namespace {

// Tables longer than this are left out: their rows repeat what shorter tables test and only slow the run.
constexpr long long kMaxTableRows = 2000;

std::vector<std::string> Arguments(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    if (size == 0) return args;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
        args.push_back(text.substr(start, end - start));
    args.push_back(text.substr(start));
    return args;
}

// The site the tool reads when a flag leaves it out, written the way the tracker stores it (through the
// same store, so the next read sees it at once).
void StoreSite(const std::string& site) {
    const QStringList parts = QString::fromStdString(site).split(QLatin1Char(','));
    skyrel::NativeSettingsStore store;
    const QStringList names{QStringLiteral("Observer Latitude"), QStringLiteral("Observer Longitude"),
                            QStringLiteral("Observer Height")};
    for (qsizetype i = 0; i < names.size(); ++i)
        store.write(skyrel::kOptionsGroup, names[i], i < parts.size() ? parts[i] : QString());
    store.sync();
}

// Whether the text holds an infinite or undefined number as the tool would print one.
bool HasNonFiniteNumber(const std::string& text) {
    for (const char* word : {"inf", "nan"})
        if (text.find(word) != std::string::npos) return true;
    return false;
}

// Whether the line names a stored value the tool replaced by its default, as a stored site out of range
// is ("skyrel-ephem: Observer Height in <file>: ...; using 100").
bool IsReplacedStoredValue(const std::string& line) {
    return line.rfind("skyrel-ephem: ", 0) == 0 && line.find("; using ") != std::string::npos;
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

bool OnlyReplacedStoredValues(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        if (!IsReplacedStoredValue(line)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using skyrel::fuzz::Check;
    // The stored site is read from this process's own settings home, which holds no file.
    skyrel::fuzz::PrivateDirectory();
    std::vector<std::string> args = Arguments(data, size);
    StoreSite(args.empty() ? std::string() : args.front());
    if (!args.empty()) args.erase(args.begin());
    std::string ignored;
    if (const auto options = ephem::ParseOptions(args, ignored); options && options->count.value_or(0) > kMaxTableRows)
        return -1;

    std::ostringstream out, err;
    const int status = ephem::Run(args, out, err);
    if (status == 0) {
        Check(!out.str().empty() && OnlyReplacedStoredValues(LinesOf(err.str())),
              "exit status 0 comes with output, and with no error but a stored value replaced by its default");
        Check(!HasNonFiniteNumber(out.str()), "every figure is a finite number");
    } else {
        Check(status == ephem::kExitBadInput, "the exit status is 0 or 2");
        const std::string text = err.str();
        std::vector<std::string> lines = LinesOf(text);
        Check(out.str().empty(), "a refused command line prints no figures");
        // A stored site replaced by its default is said before the command line is weighed.
        Check(!text.empty() && text.back() == '\n' && !lines.empty() && !lines.back().empty(),
              "a refusal ends in one line of its own");
        lines.pop_back();
        Check(OnlyReplacedStoredValues(lines), "a refusal is one line after any replaced stored values");
    }
    return 0;
}
