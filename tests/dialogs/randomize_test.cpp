#include "dialogs/randomize.h"
#include "recordingprompts.h"

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class RandomizeWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.SetThermals(&thermals);
    }

    template <typename T> T* child(const QString& name) {
        T* widget = window.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    void click(const QString& name) {
        auto* button = child<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    void retype(const QString& name, const QString& typed) {
        QLineEdit* edit = child<QLineEdit>(name);
        edit->selectAll();
        QTest::keyClicks(edit, typed);
    }
    // Ticks a field's row and gives it its range.
    void range(const QString& field, const QString& min, const QString& max) {
        click(field);
        retype(field + "Min", min);
        retype(field + "Max", max);
    }
    void addThermals(int count, int type) {
        for (int i = 0; i < count; ++i) {
            thermals.push_back(std::make_unique<TThermal>());
            thermals.back()->SetType(type);
            thermals.back()->SetCloud(i % 2 == 0);
        }
    }
    void apply() { click("Apply"); }

    RecordingPrompts prompts;
    ThermalList thermals;
    TRandomizeForm window{nullptr, 12345};
};

const QStringList kRowBoxes{
    "type1",       "type2",           "type3",       "type4",      "thermBottom",  "thermTop",
    "thermRadius", "thermWinddir",    "thermFactor", "cloudOnOff", "cloudBase",    "cloudRadius",
    "cloudType",   "profileStrength", "profileSize", "profileTop", "profileBottom"};

TEST(RandomizeWindowAtStart, IsHiddenAtItsPlaceWithItsCaption) {
    TRandomizeForm window;
    EXPECT_TRUE(window.isHidden());
    EXPECT_EQ(window.windowTitle(), "Randomize Thermals");
    EXPECT_EQ(window.pos(), QPoint(734, 127));
    EXPECT_EQ(window.windowType(), Qt::Window);
}

TEST_F(RandomizeWindow, HasAFixedSize) {
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.size(), window.minimumSize());
}

TEST_F(RandomizeWindow, RowsStandInOrderUnderRedHeadings) {
    int above = -1;
    for (const QString& name : kRowBoxes) {
        auto* box = child<QCheckBox>(name);
        EXPECT_FALSE(box->isChecked()) << name.toStdString();
        const int y = box->mapTo(&window, QPoint(0, 0)).y();
        EXPECT_GT(y, above) << name.toStdString();
        above = y;
    }
    EXPECT_EQ(child<QCheckBox>("type3")->text(), "Type 3");
    EXPECT_EQ(child<QCheckBox>("thermWinddir")->text(), "Wind Dir");
    EXPECT_EQ(child<QCheckBox>("profileBottom")->text(), "Core Bot");
    EXPECT_EQ(child<QCheckBox>("cloudOnOff")->text(), "On/Off");

    const QList<QLineEdit*> edits = window.findChildren<QLineEdit*>();
    EXPECT_EQ(edits.size(), 25);
    for (QLineEdit* edit : edits)
        EXPECT_EQ(edit->text(), "0") << edit->objectName().toStdString();
    const auto minEdit = child<QLineEdit>("thermFactorMin");
    EXPECT_LT(minEdit->x(), child<QLineEdit>("thermFactorMax")->x());

    QStringList red;
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->palette().color(QPalette::WindowText) == QColor(Qt::red))
            red << label->text();
    std::sort(red.begin(), red.end());
    EXPECT_EQ(red, QStringList({"Apply To", "Cloud Data", "Max Value", "Min Value", "Profile Data",
                                "Thermal Data"}));
}

TEST_F(RandomizeWindow, ValuesFallBetweenMinAndMaxAndHitBothEnds) {
    addThermals(1000, 0);
    range("thermBottom", "100", "200");
    range("cloudRadius", "10", "5");
    apply();
    const auto [low, high] =
        std::minmax_element(thermals.begin(), thermals.end(),
                            [](const auto& a, const auto& b) { return a->bottom < b->bottom; });
    EXPECT_EQ((*low)->bottom, 100);
    EXPECT_EQ((*high)->bottom, 200);
    const auto [small, large] =
        std::minmax_element(thermals.begin(), thermals.end(), [](const auto& a, const auto& b) {
            return a->cloudRadius < b->cloudRadius;
        });
    EXPECT_EQ((*small)->cloudRadius, 5);
    EXPECT_EQ((*large)->cloudRadius, 10);
    EXPECT_TRUE(prompts.entries.empty());
}

TEST_F(RandomizeWindow, MinAndMaxAreTruncatedTowardZero) {
    addThermals(20, 0);
    range("thermRadius", "1.9", "1.9");
    range("thermFactor", "-1.5", "-1.5");
    range("profileStrength", "0", "0");
    for (const auto& t : thermals)
        t->SetStrengthPercent(80);
    apply();
    for (const auto& t : thermals) {
        EXPECT_EQ(t->radius, 1);
        EXPECT_EQ(t->factor, -1);
        EXPECT_EQ(t->tStrengthPercent, 0);
    }
}

TEST_F(RandomizeWindow, WindDirectionsAreStoredModulo360) {
    addThermals(500, 0);
    range("thermWinddir", "0", "720");
    apply();
    for (const auto& t : thermals) {
        EXPECT_GE(t->windDir, 0);
        EXPECT_LT(t->windDir, 360);
    }
}

TEST_F(RandomizeWindow, CloudChanceOfHundredTurnsEveryCloudOnAndNegativeEveryCloudOff) {
    addThermals(50, 0);
    click("cloudOnOff");
    retype("cloudOnOffchance", "100");
    apply();
    EXPECT_TRUE(
        std::all_of(thermals.begin(), thermals.end(), [](const auto& t) { return t->cloud; }));

    retype("cloudOnOffchance", "-5");
    apply();
    EXPECT_TRUE(
        std::none_of(thermals.begin(), thermals.end(), [](const auto& t) { return t->cloud; }));

    retype("cloudOnOffchance", "5x");
    thermals[0]->SetCloud(true);
    apply();
    EXPECT_EQ(prompts.messages(), QStringList({"Error|Error Converting Cloud On/Off Value"}));
    EXPECT_TRUE(thermals[0]->cloud);
    EXPECT_FALSE(thermals[1]->cloud);
}

TEST_F(RandomizeWindow, AnEmptyMinIsReportedOnceHoweverManyThermals) {
    addThermals(7, 4);
    for (const auto& t : thermals)
        t->SetBottom(250);
    click("type4");
    click("thermBottom");
    child<QLineEdit>("thermBottomMin")->clear();
    apply();
    EXPECT_EQ(prompts.messages(), QStringList({"Error|Error Converting thermBottom Min Value"}));
    for (const auto& t : thermals)
        EXPECT_EQ(t->bottom, 250);

    apply();
    EXPECT_EQ(prompts.messages().size(), 2);
}

TEST_F(RandomizeWindow, WithNoTypeTickedOnlyTypesOutsideOneToFourChange) {
    for (int type : {1, 2, 3, 4, 0, -1, -3})
        addThermals(1, type);
    range("thermTop", "900", "900");
    apply();
    for (const auto& t : thermals)
        EXPECT_EQ(t->top, t->type >= 1 && t->type <= 4 ? 0 : 900) << t->type;

    click("type2");
    apply();
    EXPECT_EQ(thermals[1]->top, 900);
    EXPECT_EQ(thermals[0]->top, 0);
    EXPECT_EQ(thermals[2]->top, 0);
}

TEST_F(RandomizeWindow, ApplyWithoutAThermalListDoesNothing) {
    TRandomizeForm fresh(nullptr, 1);
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
    auto* bottom = fresh.findChild<QCheckBox*>("thermBottom");
    QTest::mouseClick(bottom, Qt::LeftButton, {}, bottom->rect().center());
    fresh.findChild<QLineEdit*>("thermBottomMin")->clear();
    auto* apply = fresh.findChild<QPushButton*>("Apply");
    QTest::mouseClick(apply, Qt::LeftButton, {}, apply->rect().center());
    EXPECT_TRUE(prompts.entries.empty());
}

} // namespace
