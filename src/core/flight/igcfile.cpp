#include "igcfile.h"

#include "codecs/textencoding.h"
#include "geo/textfields.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::int32_t kSecondsPerDay = 86400;
// The fixed part of a B record: "B", HHMMSS, DDMMmmmN, DDDMMmmmE, validity, two altitudes.
constexpr std::size_t kFixLength = 35;

// The number the digits of text spell; nothing when any character is not a digit.
std::optional<int> Digits(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return text.empty() ? std::nullopt : std::optional(value);
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A piece of the file fit for a message: printable ASCII, the rest as "?".
std::string Excerpt(std::string_view text) {
    std::string shown(text.substr(0, 40));
    for (char& c : shown)
        if (c < ' ' || c > '~')
            c = '?';
    return '"' + shown + (text.size() > 40 ? "...\"" : "\"");
}

// Hours, minutes and seconds as seconds of the day.
std::optional<std::int32_t> TimeOfDay(std::string_view hhmmss) {
    const auto h = Digits(hhmmss.substr(0, 2));
    const auto m = Digits(hhmmss.substr(2, 2));
    const auto s = Digits(hhmmss.substr(4, 2));
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59)
        return std::nullopt;
    return *h * 3600 + *m * 60 + *s;
}

// DDMMmmm with its hemisphere letter (degreeDigits 2) or DDDMMmmm (3), in thousandths of a
// minute, south and west negative.
std::optional<std::int32_t> Angle(std::string_view text, std::size_t degreeDigits, char positive,
                                  char negative, int limitDeg) {
    const auto degrees = Digits(text.substr(0, degreeDigits));
    const auto milliMinutes = Digits(text.substr(degreeDigits, 5));
    const char hemisphere = text[degreeDigits + 5];
    if (!degrees || !milliMinutes || *milliMinutes >= 60000 ||
        (hemisphere != positive && hemisphere != negative))
        return std::nullopt;
    const std::int32_t value = *degrees * 60000 + *milliMinutes;
    if (value > limitDeg * 60000)
        return std::nullopt;
    return hemisphere == positive ? value : -value;
}

// Five characters of metres: digits, or a minus sign and four digits.
std::optional<std::int32_t> Altitude(std::string_view text) {
    if (text.front() == '-') {
        const auto metres = Digits(text.substr(1));
        return metres ? std::optional<std::int32_t>(-*metres) : std::nullopt;
    }
    return Digits(text);
}

class Reader {
public:
    // Fixes are most lines: the room for them is taken once, for no more than the bytes can
    // hold (a fix takes a line of 35 characters and its end).
    explicit Reader(std::string_view bytes) {
        flight_.fixes.reserve(std::min(CountFixLines(bytes), bytes.size() / (kFixLength + 1) + 1));
    }

    void Line(long long number, std::string_view line);
    IgcFlight Finish();

private:
    static std::size_t CountFixLines(std::string_view bytes) {
        std::size_t count = bytes.starts_with('B') ? 1 : 0;
        for (std::size_t at = bytes.find("\nB"); at != std::string_view::npos;
             at = bytes.find("\nB", at + 1))
            ++count;
        return count;
    }

    void Header(long long number, std::string_view line);
    void Extensions(long long number, std::string_view line);
    void Fix(long long number, std::string_view line);

    IgcFlight flight_;
    std::int32_t dayStartS_ = 0;
    std::optional<std::int32_t> lastTimeOfDay_;
    bool anyPressureAltitude_ = false;
};

void Reader::Line(long long number, std::string_view line) {
    if (line.find_first_not_of(" \t\x1a") == std::string_view::npos)
        return; // blank, or the end-of-file mark of old DOS programs
    switch (line.front()) {
    case 'A':
        if (flight_.recorder.empty())
            flight_.recorder = Trimmed(line.substr(1));
        return;
    case 'B':
        Fix(number, line);
        return;
    case 'H':
        Header(number, line);
        return;
    case 'I':
        Extensions(number, line);
        return;
    default:
        // The other records of the format: tasks, events, satellites, security, comments.
        if (line.front() >= 'C' && line.front() <= 'L')
            return;
        flight_.problems.AddProblem(number, "not a record of a flight log: " + Excerpt(line));
    }
}

// H, the source (F, O or P), a three-letter code, then a long name and the value after a
// colon; the old date record has the value straight after its code.
void Reader::Header(long long number, std::string_view line) {
    if (line.size() < 5)
        return;
    const std::string_view code = line.substr(2, 3);
    const std::size_t colon = line.find(':');
    const std::string_view value =
        Trimmed(colon == std::string_view::npos ? line.substr(5) : line.substr(colon + 1));
    if (code == "DTE") {
        // "HFDTE090319" or "HFDTEDATE:090319,01"
        const bool six = value.size() >= 6;
        const auto day = six ? Digits(value.substr(0, 2)) : std::nullopt;
        const auto month = six ? Digits(value.substr(2, 2)) : std::nullopt;
        const auto year = six ? Digits(value.substr(4, 2)) : std::nullopt;
        const std::string_view rest = six ? value.substr(6) : std::string_view();
        if (!day || !month || !year || *day < 1 || *day > 31 || *month < 1 || *month > 12 ||
            (!rest.empty() && rest.front() != ',')) {
            flight_.problems.AddProblem(number, "the date " + Excerpt(value) + " is not ddmmyy");
            return;
        }
        if (!flight_.date)
            flight_.date = IgcDate{*year < 80 ? 2000 + *year : 1900 + *year, *month, *day};
    } else if (code == "PLT") {
        flight_.pilot = value;
    } else if (code == "GTY") {
        flight_.gliderType = value;
    } else if (code == "GID") {
        flight_.gliderId = value;
    }
}

// I, the count as two digits, then for each extension its first and last column as two
// digits each and its three-letter code.
void Reader::Extensions(long long number, std::string_view line) {
    const auto fail = [&](const std::string& what) {
        flight_.problems.AddProblem(number, "the fix extensions " + Excerpt(line) + " " + what);
    };
    if (!flight_.fixes.empty())
        return fail("come after the first fix");
    const auto count = Digits(line.substr(1, 2));
    const std::string_view entries = Trimmed(line.substr(std::min<std::size_t>(3, line.size())));
    if (!count || entries.size() != static_cast<std::size_t>(*count) * 7)
        return fail("do not give as many entries as they count");
    std::vector<IgcExtension> extensions;
    int nextFree = static_cast<int>(kFixLength) + 1;
    for (std::size_t at = 0; at < entries.size(); at += 7) {
        const auto first = Digits(entries.substr(at, 2));
        const auto last = Digits(entries.substr(at + 2, 2));
        if (!first || !last || *first < nextFree || *last < *first)
            return fail("overlap or are not in column order");
        extensions.push_back({std::string(entries.substr(at + 4, 3)), *first, *last});
        nextFree = *last + 1;
    }
    flight_.extensions = std::move(extensions);
}

void Reader::Fix(long long number, std::string_view line) {
    const auto fail = [&](const std::string& what) {
        flight_.problems.AddProblem(number, "the fix " + Excerpt(line) + " " + what);
    };
    if (line.size() < kFixLength)
        return fail("is shorter than 35 characters");
    const auto timeOfDay = TimeOfDay(line.substr(1, 6));
    if (!timeOfDay)
        return fail("has no time hhmmss");
    const auto lat = Angle(line.substr(7, 8), 2, 'N', 'S', 90);
    if (!lat)
        return fail("has no latitude DDMMmmm with N or S");
    const auto lon = Angle(line.substr(15, 9), 3, 'E', 'W', 180);
    if (!lon)
        return fail("has no longitude DDDMMmmm with E or W");
    if (line[24] != 'A' && line[24] != 'V')
        return fail("is neither valid (A) nor invalid (V)");
    const auto pressure = Altitude(line.substr(25, 5));
    const auto gnss = Altitude(line.substr(30, 5));
    if (!pressure || !gnss)
        return fail("has no altitudes of five digits");

    // A time more than half a day before the last one is the next day's; a smaller step
    // back is the recorder's clock, and the fix stays where the one before it is in time.
    if (lastTimeOfDay_ && *lastTimeOfDay_ - *timeOfDay > kSecondsPerDay / 2)
        dayStartS_ += kSecondsPerDay;
    lastTimeOfDay_ = *timeOfDay;
    std::int32_t timeS = dayStartS_ + *timeOfDay;
    if (!flight_.fixes.empty())
        timeS = std::max(timeS, flight_.fixes.back().timeS);
    anyPressureAltitude_ = anyPressureAltitude_ || *pressure != 0;
    flight_.fixes.push_back({timeS, *lat, *lon, *pressure, *gnss, line[24] == 'A'});

    // The extensions' columns; a short line leaves blanks where it ends.
    if (flight_.fixes.size() == 1)
        flight_.extensionText.reserve(flight_.fixes.capacity() * flight_.ExtensionWidth());
    for (const IgcExtension& extension : flight_.extensions) {
        const auto first = static_cast<std::size_t>(extension.firstColumn - 1);
        const std::string_view text =
            first < line.size() ? line.substr(first, extension.Width()) : std::string_view();
        flight_.extensionText += text;
        flight_.extensionText.append(extension.Width() - text.size(), ' ');
    }
}

IgcFlight Reader::Finish() {
    flight_.pressureAltitudes = anyPressureAltitude_;
    return std::move(flight_);
}

} // namespace

std::size_t IgcFlight::ExtensionWidth() const {
    std::size_t width = 0;
    for (const IgcExtension& extension : extensions)
        width += extension.Width();
    return width;
}

std::string_view IgcFlight::Extension(std::size_t fix, std::string_view code) const {
    std::size_t offset = fix * ExtensionWidth();
    for (const IgcExtension& extension : extensions) {
        if (extension.code == code)
            return std::string_view(extensionText).substr(offset, extension.Width());
        offset += extension.Width();
    }
    return {};
}

IgcFlight ReadIgcFile(std::string_view bytes) {
    Reader reader(bytes);
    long long number = 0;
    std::string scratch;
    for (std::size_t offset = ByteOrderMarkLength(bytes); offset < bytes.size();)
        reader.Line(++number, ReadLineView(bytes, offset, scratch));
    return reader.Finish();
}

std::string IgcReadReport(const IgcFlight& flight) {
    std::string report = flight.problems.Report();
    if (flight.fixes.empty())
        report = "The file holds no fixes (B records): it is not a flight log." +
                 (report.empty() ? "" : "\n" + report);
    return report;
}
