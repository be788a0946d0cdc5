#include "thermalline.h"

#include "geo/numbertext.h"
#include "geo/textfields.h"
#include "geo/units.h"

#include <charconv>
#include <cmath>

namespace {

constexpr int kCumulusTag = 1;
constexpr int kCumulusCount = 7;
constexpr int kCumulusLeast = 6;
constexpr int kProfileTag = 2;
constexpr int kProfileCount = 4;
constexpr int kProfileLeast = 4;

// Takes the numbers of one line in order. The first failure sticks, so a whole record is
// read with plain calls and checked once.
class LineReader {
public:
    explicit LineReader(std::string_view line)
        : line_(line) {}

    // A used-up line gives "-1" for every value it no longer holds, as for a tag; only a
    // value that is no number (an empty one among them) fails.
    double decimal() { return Convert(ParseDecimal(Value()), 0.0); }
    int integer() { return Convert(ParseInteger(Value()), 0); }
    // A value beyond the float range would be written back as no number at all.
    float single() {
        const auto value = static_cast<float>(decimal());
        if (!std::isfinite(value))
            ok_ = false;
        return value;
    }
    // A tag or count: -1 from a used-up line is no section.
    int marker() { return Convert(ParseInteger(NextNumber(line_, p_)), 0); }
    bool ok() const { return ok_; }
    // Whether a value was asked for after the line had ended.
    bool cut() const { return cut_; }

private:
    std::string_view Value() {
        if (static_cast<int>(line_.size()) <= p_)
            cut_ = true;
        return NextNumber(line_, p_);
    }
    template <typename T> T Convert(std::optional<T> value, T fallback) {
        if (!value)
            ok_ = false;
        return value.value_or(fallback);
    }

    std::string_view line_;
    int p_ = 1;
    bool ok_ = true;
    bool cut_ = false;
};

// The reader takes a number as one run of digits, signs and points, so the E form of the
// number text ("1E-5") would come back as two numbers and shift every later value: such
// values are written out in full.
std::string FloatText(float value) {
    // Most of these values are whole numbers such as -1 and 0, which need no general number
    // text: written like an integer, they come out the same.
    if (value == std::trunc(value) && std::abs(value) < 1e9f)
        return IntText(static_cast<long long>(value));
    std::string text = NumberText(value);
    if (text.find('E') == std::string::npos)
        return text;
    char buffer[80]; // the longest float, widened: 0. with 44 zeros and 17 digits
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                   std::chars_format::fixed)
                         .ptr;
    return {buffer, end};
}

} // namespace

std::optional<ThermalLine> ParseThermalLine(std::string_view line) {
    LineReader in(line);
    Thermal t;
    t.SetLat(in.decimal() * 0.00001);
    t.SetLon(in.decimal() * 0.00001);
    t.SetType(in.integer());
    t.SetBottom(in.integer());
    t.SetTop(in.integer());
    t.SetRadius(in.integer());
    t.SetWindDir(in.integer());
    t.SetFactor(in.integer());
    t.SetCloud(in.integer() != 0);
    const int groundHeight = in.integer();
    t.SetSpare(groundHeight);
    t.SetGroundHeight(groundHeight);
    t.SetCloudBase(in.integer());
    t.SetCloudRadius(in.integer() / 2);
    t.SetCloudType(in.integer());

    int tag = in.marker();
    if (tag == kCumulusTag && in.marker() >= kCumulusLeast) {
        t.SetCuHs(in.single());
        t.SetCuVs(in.single());
        t.SetCuRotation(in.integer());
        t.SetCuCloud(in.single());
        t.SetCuStart(in.integer());
        t.SetCuEnd(in.integer());
        t.SetGroundHeight(in.integer());
        tag = in.marker();
    }
    if (tag == kProfileTag && in.marker() >= kProfileLeast) {
        t.SetStrengthPercent(in.integer());
        t.SetCorePercent(in.integer());
        t.SetCoreBasePercent(in.integer());
        t.SetCoreTopPercent(in.integer());
    }
    if (!in.ok())
        return std::nullopt;
    return ThermalLine{std::move(t), in.cut()};
}

void AppendThermalLine(std::string& out, const Thermal& t, bool saveAll) {
    const auto field = [&out](int value) {
        WriteIntField(out, value, false, ",");
    };
    const auto single = [&out](float value) {
        out += FloatText(value);
        out += ',';
    };
    field(TruncateToInt(t.lat * 100000));
    field(TruncateToInt(t.lon * 100000));
    field(t.type);
    field(t.bottom);
    field(t.top);
    field(t.radius);
    field(t.windDir);
    field(t.factor);
    field(t.cloud ? 1 : 0);
    field(t.tGroundHeight);
    field(t.cloudBase);
    field(TruncateToInt(t.cloudRadius * 2.0));
    if (!saveAll) {
        WriteIntField(out, t.cloudType, false, "\r\n");
        return;
    }
    field(t.cloudType);
    field(kCumulusTag);
    field(kCumulusCount);
    single(t.tCuHS);
    single(t.tCuVS);
    field(t.tCuRotation);
    single(t.tCuCloud);
    field(t.tCuStart);
    field(t.tCuEnd);
    field(t.tGroundHeight);
    field(kProfileTag);
    field(kProfileCount);
    field(t.tStrengthPercent);
    field(t.tCorePercent);
    field(t.tCoreBasePercent);
    WriteIntField(out, t.tCoreTopPercent, false, "\r\n");
}
