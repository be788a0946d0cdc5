// The Thermal Data and Randomize Thermals windows as a user types and clicks in them, and
// the legend of glyph colours.

#include "app/glyphlegend.h"
#include "dialogs/randomize.h"
#include "dialogs/thermaldata.h"
#include "model/thermalglyph.h"
#include "qtfixtures.h"

#include <climits>

#include <QGridLayout>
#include <QLabel>
#include <QSignalSpy>

namespace {

template <typename Window> class Shown : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QString text(const char* edit) const { return EditIn(window, edit)->text(); }
    // A window that shows heights takes the unit from units.
    Window Make() {
        if constexpr (std::is_constructible_v<Window, const DisplayUnits&>)
            return Window(units);
        else
            return Window();
    }

    RecordingPrompts rec;
    DisplayUnits units;
    Window window = Make();
};
using ThermalDataWindow = Shown<TThermalData>;

// Values every field of the Thermal Data window takes as typed.
const ThermalSettings kTyped{4,    10,    2000, 700,   90, 3,  false, 305, 600, 3,
                             1.5f, 0.75f, 45,   0.25f, 10, 20, 70,    30,  15,  85};

TEST_F(ThermalDataWindow, EveryEditAndBoxIsHandedOverToTheLiveWork) {
    LiveSettings handed;
    QObject::connect(&window, &TThermalData::liveSettingsChanged,
                     [&handed](const LiveSettings& settings) { handed = settings; });
    const std::pair<const char*, const char*> typed[] = {
        {"bottom", "10"},       {"top", "2000"},      {"radius", "700"},
        {"windDir", "90"},      {"factor", "3"},      {"cloudBase", "305"},
        {"cloudRadius", "600"}, {"cloudType", "3"},   {"cuHS", "1.5"},
        {"cuVS", "0.75"},       {"cuRotation", "45"}, {"cuCloud", "0.25"},
        {"cuStart", "10"},      {"cuEnd", "20"},      {"strength", "70"},
        {"coreSize", "30"},     {"coreBottom", "15"}, {"coreTop", "85"},
        {"RollRate", "35"},     {"SampleSize", "4"},  {"autoThermalDist", "900"}};
    for (const auto& [edit, text] : typed)
        Retype(window, edit, text);
    for (const char* box : {"four", "cloudOn", "ProfileOnOff", "Roll", "windRight", "TopsMSL"})
        Click(window, box);
    Click(window, "windLeft"); // unticks the right
    EXPECT_EQ(Fields(handed.newThermal), Fields(kTyped));
    const LiveSettings& h = handed;
    EXPECT_EQ(std::tuple(h.profileOn, h.profiler.roll, h.profiler.rollRatePercent,
                         h.profiler.sampleSize, h.autoThermalDistM, h.windFromLeft, h.windFromRight,
                         h.topsMsl),
              std::tuple(false, false, 35, 4, 900, true, false, true));
}

// Automatic thermals need a thermal list to add to, which comes with a project.
TEST_F(ThermalDataWindow, AutomaticThermalsStayOffUntilAProjectIsOpen) {
    Click(window, "autoThermals");
    EXPECT_FALSE(window.liveSettings().autoThermals);
    window.SetProjectOpen(true);
    Click(window, "autoThermals");
    EXPECT_TRUE(window.liveSettings().autoThermals);
}

TEST_F(ThermalDataWindow, BadTextIsMarkedAndKeepsTheLastGoodValueAndFeetBecomeMetres) {
    const QColor plain = EditIn(window, "cuCloud")->palette().color(QPalette::Base);
    // Pasted at once.
    EditIn(window, "cuCloud")->selectAll();
    EditIn(window, "cuCloud")->insert("0,3");
    EXPECT_EQ(std::tuple(text("cuCloud"), window.values().tCuCloud), std::tuple("0,3", -0.5f));
    EXPECT_NE(EditIn(window, "cuCloud")->palette().color(QPalette::Base), plain);
    EXPECT_TRUE(EditIn(window, "cuCloud")->toolTip().contains("-1 to 1"));
    Retype(window, "cuCloud", "0.3");
    EXPECT_EQ(EditIn(window, "cuCloud")->palette().color(QPalette::Base), plain);
    // A lone minus is a number being typed.
    Retype(window, "cuStart", "-");
    EXPECT_EQ(std::tuple(text("cuStart"), window.values().tCuStart), std::tuple("-", 0));
    EXPECT_TRUE(rec.entries.empty());

    units.height = feet;
    window.ShowHeights();
    QTest::keyClicks(EditIn(window, "top"), "a");
    EXPECT_EQ(std::tuple(text("top"), window.values().top), std::tuple("4921a", 1500));
    Retype(window, "top", "1000");
    EXPECT_EQ(window.values().top, 305);
    // 305 m are 1000.66 ft.
    units.height = feet;
    window.ShowHeights();
    EXPECT_EQ(std::tuple(text("top"), text("cloudBase"), text("radius")),
              std::tuple("1001", "4921", "500"));
    // Values shown in feet come back as they were; -1 m would not come back from its
    // rounded feet.
    ThermalSettings v = kTyped;
    v.bottom = -1;
    window.ShowValues(v);
    EXPECT_EQ(Fields(window.values()), Fields(v));
}

// A type shown wraps as the thermal stores it; one that wraps to no type selects nothing, and
// the type shown before stays.
TEST_F(ThermalDataWindow, TypeShownWrapsAndNoTypeKeepsTheOneBefore) {
    ThermalSettings v = WindowDefaults();
    for (const auto& [shown, selected] : {std::pair{6, 2}, {0, 2}, {-3, 1}, {INT_MIN, 1}}) {
        v.type = shown;
        window.ShowValues(v);
        EXPECT_EQ(window.values().type, selected) << shown;
    }
}

class RandomizeWindow : public Shown<TRandomizeForm> {
protected:
    void SetUp() override {
        Shown::SetUp();
        window.SetThermals(&thermals);
        QObject::connect(&window, &TRandomizeForm::randomized, [this](const ThermalValues& values) {
            for (const auto& [i, value] : values)
                thermals[i]->SetValues(value);
        });
    }
    ThermalList thermals = Thermals({{47.1, 8.1}, {47.2, 8.2}, {47.3, 8.3}, {47.4, 8.4}});
};

TEST_F(RandomizeWindow, ApplyChangesOnlyTickedFieldsOfTickedTypes) {
    for (int type = 1; type <= 4; ++type) {
        thermals[type - 1]->SetType(type);
        thermals[type - 1]->SetCloud(false);
    }
    for (const char* box : {"type2", "type4", "thermTop", "profileStrength", "cloudOnOff"})
        Click(window, box);
    const std::pair<const char*, const char*> typed[] = {
        {"thermTopMin", "900"},       {"thermTopMax", "900"},  {"profileStrengthMin", "10"},
        {"profileStrengthMax", "20"}, {"thermRadiusMin", "7"}, {"thermRadiusMax", "7"},
        {"cloudOnOffchance", "100"}};
    for (const auto& [edit, text] : typed)
        Retype(window, edit, text);
    Click(window, "Apply");
    for (const auto& t : thermals) {
        const bool ticked = t->type % 2 == 0;
        EXPECT_EQ(std::tuple(t->top, t->cloud, t->radius),
                  std::tuple(ticked ? 900 : 1500, ticked, 500));
        EXPECT_TRUE(ticked ? t->tStrengthPercent >= 10 && t->tStrengthPercent <= 20
                           : t->tStrengthPercent == 80);
    }
}

TEST_F(RandomizeWindow, OneBadRowChangesNoThermal) {
    for (const char* box : {"type1", "thermRadius", "thermTop"})
        Click(window, box);
    Retype(window, "thermRadiusMin", "100");
    Retype(window, "thermRadiusMax", "200");
    Retype(window, "thermTopMin", "low");
    QSignalSpy randomized(&window, &TRandomizeForm::randomized);
    Click(window, "Apply");
    EXPECT_EQ(randomized.count(), 0);
    EXPECT_EQ(rec.messages().size(), 1u); // its text is the plan's
}

// The legend draws each glyph as the map does: its fill is the type's colour for the map.
// Every two controls a window shows that cover each other, as "name/name".
Strings Overlapping(const QWidget& window) {
    std::vector<std::pair<QRect, QString>> shown;
    for (const QWidget* w : window.findChildren<QWidget*>())
        if (w->isVisible() && (qobject_cast<const QAbstractButton*>(w) ||
                               qobject_cast<const QLineEdit*>(w) || qobject_cast<const QLabel*>(w)))
            shown.push_back({QRect(w->mapTo(&window, QPoint()), w->size()), w->objectName()});
    Strings found;
    for (auto a = shown.begin(); a != shown.end(); ++a)
        for (auto b = a + 1; b != shown.end(); ++b)
            if (a->first.intersects(b->first))
                found.push_back((a->second + '/' + b->second).toStdString());
    return found;
}

TEST(ToolWindows, NoControlCoversAnother) {
    RecordingPrompts rec;
    DisplayUnits units;
    TThermalData data(units);
    TRandomizeForm randomize;
    for (QWidget* window : {static_cast<QWidget*>(&data), static_cast<QWidget*>(&randomize)}) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_EQ(Overlapping(*window), Strings{}) << window->objectName().toStdString();
    }
}

TEST(GlyphLegend, EachThermalRowShowsTheFillTheMapGivesIt) {
    const std::unique_ptr<QWidget> legend(NewGlyphLegend(nullptr));
    auto* grid = qobject_cast<QGridLayout*>(legend->layout());
    ASSERT_NE(grid, nullptr);
    int rows = 0;
    for (int row = 0; row < grid->rowCount(); ++row) {
        const QLayoutItem* item = grid->itemAtPosition(row, 1);
        const auto* text = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
        if (!text || !text->text().front().isDigit())
            continue;
        const QString caption = text->text();
        const Rgb fill = ThermalFill(caption.front().digitValue(), caption.contains("cloud"),
                                     caption.contains("flies now"));
        const QImage picture =
            qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget())->pixmap().toImage();
        const QColor colour(fill.red, fill.green, fill.blue);
        EXPECT_GT(CountPixels(picture, picture.rect(), [&](QColor c) { return c == colour; }), 0)
            << caption.toStdString();
        ++rows;
    }
    EXPECT_EQ(rows, 7);
}

} // namespace
