#include "dialogs/thermaldata.h"
#include "recordingprompts.h"

#include <map>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ThermalDataWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename T> T* child(const char* name) {
        T* widget = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
    QString text(const char* name) { return edit(name)->text(); }

    // What a user does to replace an edit's text: select it all, then type.
    void retype(const char* name, const QString& typed) {
        QLineEdit* e = edit(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, typed);
    }
    void typeAtEnd(const char* name, const QString& typed) {
        QLineEdit* e = edit(name);
        e->end(false);
        QTest::keyClicks(e, typed);
    }
    void paste(const char* name, const QString& clip) {
        QApplication::clipboard()->setText(clip);
        QLineEdit* e = edit(name);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    }
    void click(const char* name) {
        auto* button = child<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    static std::unique_ptr<TThermal> Thermal(int type) {
        auto t = std::make_unique<TThermal>();
        t->SetType(type);
        return t;
    }

    RecordingPrompts prompts;
    TThermalData window;
};

TEST_F(ThermalDataWindow, StartsWithTheDefaultValues) {
    EXPECT_EQ(window.GetType(), 1);
    EXPECT_TRUE(window.GetCloud());
    EXPECT_EQ(window.bottomValue, 0);
    EXPECT_EQ(window.topValue, 1500);
    EXPECT_EQ(window.radiusValue, 500);
    EXPECT_EQ(window.windDirValue, 270);
    EXPECT_EQ(window.factorValue, 30000);
    EXPECT_EQ(window.cloudBaseValue, 1500);
    EXPECT_EQ(window.cloudRadiusValue, 500);
    EXPECT_EQ(window.cloudTypeValue, 1);
    EXPECT_EQ(window.cuHSValue, -1.0f);
    EXPECT_EQ(window.cuVSValue, -1.0f);
    EXPECT_EQ(window.cuRotationValue, 0);
    EXPECT_EQ(window.cuCloudValue, -0.5f);
    EXPECT_EQ(window.cuStartValue, -1);
    EXPECT_EQ(window.cuEndValue, -1);
    EXPECT_EQ(window.autoThermalDistValue, 800);
    EXPECT_EQ(window.strengthValue, 80);
    EXPECT_EQ(window.coreSizeValue, 60);
    EXPECT_EQ(window.coreTopValue, 80);
    EXPECT_EQ(window.coreBottomValue, 20);
    EXPECT_EQ(window.rollRateValue, 100);
    EXPECT_EQ(window.sampleSizeValue, 10);
    EXPECT_EQ(window.heightUnits, meters);
    EXPECT_EQ(window.thermals, nullptr);

    EXPECT_TRUE(window.GetProfileOnOff());
    EXPECT_TRUE(window.GetRoll());
    EXPECT_FALSE(window.GetWindLeft());
    EXPECT_FALSE(window.GetWindRight());
    EXPECT_FALSE(window.GetTopsMSL());
    EXPECT_FALSE(window.GetAutoThermals());
    EXPECT_TRUE(window.GetSaveCuData());
    EXPECT_TRUE(child<QRadioButton>("one")->isChecked());
    EXPECT_EQ(text("cuCloud"), "-0.5");
}

TEST_F(ThermalDataWindow, IsAToolWindowOnTopWithItsCaptionAndPlace) {
    EXPECT_EQ(window.windowTitle(), "Thermal Data");
    EXPECT_EQ(window.windowType(), Qt::Tool);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.pos(), QPoint(200, 152));
    EXPECT_LT(window.minimumWidth(), window.width());
    EXPECT_LE(window.width(), window.maximumWidth());
    EXPECT_LT(window.minimumHeight(), window.height());
    EXPECT_LE(window.height(), window.maximumHeight());
}

TEST_F(ThermalDataWindow, GroupsStandInTheirOrder) {
    const auto group = [this](const char* title) -> QRect {
        for (QGroupBox* box : window.findChildren<QGroupBox*>())
            if (box->title() == QLatin1String(title))
                return QRect(box->mapTo(&window, QPoint(0, 0)), box->size());
        ADD_FAILURE() << "no group " << title;
        return {};
    };
    const QRect type = group("Type"), data = group("Data"), cloud = group("Cloud");
    EXPECT_EQ(type.top(), data.top());
    EXPECT_EQ(data.top(), cloud.top());
    EXPECT_LT(type.right(), data.left());
    EXPECT_LT(data.right(), cloud.left());

    int above = std::max({type.bottom(), data.bottom(), cloud.bottom()});
    for (const char* title :
         {"Profile Data", "Aircraft Thermals", "Automatic Thermals", "Cumulus"}) {
        SCOPED_TRACE(title);
        const QRect r = group(title);
        EXPECT_GT(r.top(), above);
        EXPECT_EQ(r.left(), type.left());
        EXPECT_EQ(r.right(), cloud.right());
        above = r.bottom();
    }
}

// The group a control stands in, its caption (the label it is the buddy of) and its unit
// (a label of no edit right of it on the same row).
struct EditRow {
    const char* group;
    const char* name;
    const char* caption;
    const char* unit;
    const char* text;
};

QString GroupOf(const QWidget* widget) {
    for (const QWidget* w = widget->parentWidget(); w; w = w->parentWidget())
        if (const auto* box = qobject_cast<const QGroupBox*>(w))
            return box->title();
    return {};
}

QString CaptionOf(const QWidget* edit) {
    for (const QLabel* label : edit->window()->findChildren<QLabel*>())
        if (label->buddy() == edit)
            return label->text();
    return {};
}

QString UnitOf(const QWidget* edit) {
    const QWidget* window = edit->window();
    const QRect at(edit->mapTo(window, QPoint(0, 0)), edit->size());
    const QWidget* nearest = nullptr;
    int nearestLeft = 0;
    for (QWidget* w : edit->parentWidget()->findChildren<QWidget*>()) {
        const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
        const bool sameRow = r.center().y() >= at.top() && r.center().y() <= at.bottom();
        if (w->isVisible() && sameRow && r.left() > at.right() &&
            (!nearest || r.left() < nearestLeft)) {
            nearest = w;
            nearestLeft = r.left();
        }
    }
    const auto* label = qobject_cast<const QLabel*>(nearest);
    return label && !label->buddy() ? label->text() : QString();
}

TEST_F(ThermalDataWindow, EditsStandInTheirGroupsWithCaptionUnitAndInitialText) {
    const EditRow rows[] = {
        {"Data", "bottom", "Bottom", "m", "0"},
        {"Data", "top", "Top", "m", "1500"},
        {"Data", "radius", "Radius", "m", "500"},
        {"Data", "windDir", "Wind Dir", "", "270"},
        {"Data", "factor", "Factor", "", "30000"},
        {"Cloud", "cloudBase", "Base", "m", "1500"},
        {"Cloud", "cloudRadius", "Radius", "m", "500"},
        {"Cloud", "cloudType", "Type", "", "1"},
        {"Profile Data", "strength", "Strength", "%", "80"},
        {"Profile Data", "coreSize", "Core Size", "%", "60"},
        {"Profile Data", "coreTop", "Core Top", "%", "80"},
        {"Profile Data", "coreBottom", "Core Bottom", "%", "20"},
        {"Profile Data", "RollRate", "Roll Rate", "", "100"},
        {"Profile Data", "SampleSize", "Sample Size", "", "10"},
        {"Automatic Thermals", "autoThermalDist", "", "m", "800"},
        {"Cumulus", "cuHS", "Horizontal Scale ", "", "-1"},
        {"Cumulus", "cuVS", "Vertical Scale ", "", "-1"},
        {"Cumulus", "cuRotation", "Rotation", "", "0"},
        {"Cumulus", "cuCloud", "Cloud Visibility ", "", "-0.5"},
        {"Cumulus", "cuStart", "Minute of Start ", "", "-1"},
        {"Cumulus", "cuEnd", "Minute of End ", "", "-1"},
    };
    for (const EditRow& row : rows) {
        SCOPED_TRACE(row.name);
        const QLineEdit* e = edit(row.name);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(GroupOf(e), row.group);
        EXPECT_EQ(CaptionOf(e), row.caption);
        EXPECT_EQ(UnitOf(e), row.unit);
        EXPECT_EQ(e->text(), row.text);
    }
    EXPECT_EQ(window.findChildren<QLineEdit*>().size(), static_cast<qsizetype>(std::size(rows)));
}

TEST_F(ThermalDataWindow, ButtonsAndBoxesStandInTheirGroupsWithCaptionAndState) {
    struct Button {
        const char* group;
        const char* name;
        const char* caption;
        bool checked;
    };
    const Button radios[] = {
        {"Type", "one", "1", true},
        {"Type", "two", "2", false},
        {"Type", "three", "3", false},
        {"Type", "four", "4", false},
    };
    for (const Button& b : radios) {
        SCOPED_TRACE(b.name);
        const auto* radio = child<QRadioButton>(b.name);
        ASSERT_NE(radio, nullptr);
        EXPECT_EQ(GroupOf(radio), b.group);
        EXPECT_EQ(radio->text(), b.caption);
        EXPECT_EQ(radio->isChecked(), b.checked);
    }
    const Button boxes[] = {
        {"Cloud", "cloudOn", "On/Off", true},
        {"Profile Data", "ProfileOnOff", "On / Off", true},
        {"Profile Data", "Roll", "Roll", true},
        {"Aircraft Thermals", "windLeft", "Wind From AC Left", false},
        {"Aircraft Thermals", "windRight", "Wind From AC Right", false},
        {"Aircraft Thermals", "TopsMSL", "Tops above MSL", false},
        {"Automatic Thermals", "autoThermals", "Enabled. Every", false},
        {"Cumulus", "saveCuData", "Save all data in project", true},
    };
    for (const Button& b : boxes) {
        SCOPED_TRACE(b.name);
        const auto* box = child<QCheckBox>(b.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(GroupOf(box), b.group);
        EXPECT_EQ(box->text(), b.caption);
        EXPECT_EQ(box->isChecked(), b.checked);
    }
    for (const auto& [group, name] :
         {std::pair{"Profile Data", "Button1"}, {"Cumulus", "ApplyToAll"}}) {
        SCOPED_TRACE(name);
        const auto* button = child<QPushButton>(name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(GroupOf(button), group);
        EXPECT_EQ(button->text(), "Apply To All");
    }
}

TEST_F(ThermalDataWindow, ControlsCarryTheirHints) {
    const std::map<const char*, const char*> hints{
        {"one", "Ridge"},
        {"two", "Turbulence"},
        {"three", "Turbulence"},
        {"four", "Thermal"},
        {"bottom", "Height above the ground"},
        {"factor", "Not used by fs"},
        {"cloudType", "Bitmap to use"},
        {"strength", "Strength of thermal, % of MS value"},
        {"coreSize", "Percentage of radius that is at full strength"},
        {"coreTop", "Percentage of thermals height (Top - Bottom) above which the thermal will "
                    "decrease in strength"},
        {"coreBottom", "Percentage of thermals height (Top - Bottom) below which the thermal "
                       "will decrease in strength"},
        {"Button1", "Apply Profile settings to all thermals"},
        {"ProfileOnOff", "turns the profiler on / off"},
        {"windLeft", "Sets the wind dir to be comming from the left of aircraft"},
        {"TopsMSL", "Subtract terain height from Top and Cloud Base"},
        {"cuHS", "Should be 1.0-3.0; -1: random"},
        {"cuVS", "Should be 0.5-1.5; -1 : random"},
        {"cuCloud", "0: blue, 1: cloud, 0...-1 probability"},
        {"cuStart", "-1= random"},
        {"cuEnd", "-1= random"},
        {"ApplyToAll", "Apply Cumulus settings to all thermals"},
        {"saveCuData", "Saving all the data prevents Thermik from using the file"},
    };
    for (const auto& [name, hint] : hints)
        EXPECT_EQ(child<QWidget>(name)->toolTip(), hint) << name;
    for (const char* name :
         {"top", "radius", "windDir", "cloudOn", "cloudBase", "cloudRadius", "Roll", "RollRate",
          "SampleSize", "windRight", "autoThermals", "autoThermalDist", "cuRotation"})
        EXPECT_TRUE(child<QWidget>(name)->toolTip().isEmpty()) << name;
}

TEST_F(ThermalDataWindow, FeetShowRoundedFeetAndKeepTheMetres) {
    window.SetHeightUnits(feet);
    EXPECT_EQ(text("top"), "4921");
    EXPECT_EQ(text("cloudBase"), "4921");
    EXPECT_EQ(text("bottom"), "0");
    EXPECT_EQ(window.topValue, 1500);
    EXPECT_EQ(window.cloudBaseValue, 1500);
    for (const char* label : {"topUnits", "bottomUnits", "cloudBaseUnits"})
        EXPECT_EQ(child<QLabel>(label)->text(), "ft") << label;
    EXPECT_EQ(text("radius"), "500");

    retype("top", "1000");
    EXPECT_EQ(window.topValue, 305);
    EXPECT_EQ(text("top"), "1000");

    window.SetHeightUnits(meters);
    EXPECT_EQ(text("top"), "305");
    EXPECT_EQ(child<QLabel>("cloudBaseUnits")->text(), "m");
    EXPECT_TRUE(prompts.entries.empty());
}

TEST_F(ThermalDataWindow, UnparseableTextPutsBackTheLastGoodValueInTheDisplayUnit) {
    window.SetHeightUnits(feet);
    typeAtEnd("top", "a");
    EXPECT_EQ(window.topValue, 1500);
    EXPECT_EQ(text("top"), "4921");

    paste("top", "12a");
    EXPECT_EQ(window.topValue, 1500);
    EXPECT_EQ(text("top"), "4921");

    typeAtEnd("windDir", "x");
    EXPECT_EQ(window.windDirValue, 270);
    EXPECT_EQ(text("windDir"), "270");

    paste("cuCloud", "0,3");
    EXPECT_EQ(window.cuCloudValue, -0.5f);
    EXPECT_EQ(text("cuCloud"), "-0.5");
    retype("cuCloud", "0.25");
    EXPECT_EQ(window.cuCloudValue, 0.25f);
    EXPECT_TRUE(prompts.entries.empty());
}

TEST_F(ThermalDataWindow, EmptyTextOrALoneMinusStoresZeroAndStaysAsTyped) {
    QLineEdit* radius = edit("radius");
    radius->selectAll();
    QTest::keyClick(radius, Qt::Key_Backspace);
    EXPECT_EQ(window.radiusValue, 0);
    EXPECT_EQ(radius->text(), "");

    retype("cuStart", "-");
    EXPECT_EQ(window.cuStartValue, 0);
    EXPECT_EQ(text("cuStart"), "-");
    QTest::keyClicks(edit("cuStart"), "5");
    EXPECT_EQ(window.cuStartValue, -5);
    EXPECT_TRUE(prompts.entries.empty());
}

TEST_F(ThermalDataWindow, HugeNumbersAndPastedLinesLeaveValuesInRange) {
    retype("radius", "99999999999");
    EXPECT_EQ(window.radiusValue, 999999999);
    EXPECT_EQ(text("radius"), "999999999");

    paste("factor", "12\n34");
    EXPECT_EQ(window.factorValue, 30000);
    EXPECT_EQ(text("factor"), "30000");

    paste("cuHS", "1" + QString(60, u'0'));
    EXPECT_EQ(window.cuHSValue, -1.0f);
    EXPECT_EQ(text("cuHS"), "-1");

    paste("top", "2147483647");
    window.SetHeightUnits(feet);
    EXPECT_EQ(window.topValue, 2147483647);
    EXPECT_EQ(text("top"), "2147483647");
    EXPECT_TRUE(prompts.entries.empty());
}

TEST_F(ThermalDataWindow, WindBoxesAreNeverBothTicked) {
    click("windLeft");
    EXPECT_TRUE(window.GetWindLeft());
    click("windRight");
    EXPECT_TRUE(window.GetWindRight());
    EXPECT_FALSE(window.GetWindLeft());
    click("windLeft");
    EXPECT_TRUE(window.GetWindLeft());
    EXPECT_FALSE(window.GetWindRight());
    click("windLeft");
    EXPECT_FALSE(window.GetWindLeft());
    EXPECT_FALSE(window.GetWindRight());
}

TEST_F(ThermalDataWindow, AutomaticThermalsNeedAThermalList) {
    click("autoThermals");
    EXPECT_FALSE(window.GetAutoThermals());

    ThermalList thermals;
    window.thermals = &thermals;
    click("autoThermals");
    EXPECT_TRUE(window.GetAutoThermals());
    click("autoThermals");
    EXPECT_FALSE(window.GetAutoThermals());
}

TEST_F(ThermalDataWindow, ApplyToAllWithoutAListTouchesNothing) {
    ThermalList thermals;
    thermals.push_back(Thermal(1));
    retype("cuRotation", "45");
    retype("strength", "55");
    click("ApplyToAll");
    click("Button1");
    EXPECT_EQ(thermals[0]->tCuRotation, 0);
    EXPECT_EQ(thermals[0]->tStrengthPercent, 0);
}

TEST_F(ThermalDataWindow, CumulusApplyToAllCopiesTheSixCumulusValuesOnly) {
    ThermalList thermals;
    thermals.push_back(Thermal(1));
    thermals.push_back(Thermal(4));
    window.thermals = &thermals;
    retype("cuHS", "1.5");
    retype("cuVS", "0.75");
    retype("cuRotation", "45");
    retype("cuCloud", "1");
    retype("cuStart", "10");
    retype("cuEnd", "20");
    retype("strength", "55");
    retype("top", "2000");

    click("ApplyToAll");
    for (const auto& t : thermals) {
        EXPECT_EQ(t->tCuHS, 1.5f);
        EXPECT_EQ(t->tCuVS, 0.75f);
        EXPECT_EQ(t->tCuRotation, 45);
        EXPECT_EQ(t->tCuCloud, 1.0f);
        EXPECT_EQ(t->tCuStart, 10);
        EXPECT_EQ(t->tCuEnd, 20);
        EXPECT_EQ(t->tStrengthPercent, 0);
        EXPECT_EQ(t->top, 0);
    }
    EXPECT_EQ(thermals[1]->type, 4);
}

TEST_F(ThermalDataWindow, ProfileApplyToAllCopiesTheFourPercentagesOnly) {
    ThermalList thermals;
    thermals.push_back(Thermal(2));
    thermals.push_back(Thermal(3));
    window.thermals = &thermals;
    retype("strength", "55");
    retype("coreSize", "40");
    retype("coreTop", "90");
    retype("coreBottom", "10");
    retype("cuRotation", "45");

    click("Button1");
    for (const auto& t : thermals) {
        EXPECT_EQ(t->tStrengthPercent, 55);
        EXPECT_EQ(t->tCorePercent, 40);
        EXPECT_EQ(t->tCoreTopPercent, 90);
        EXPECT_EQ(t->tCoreBasePercent, 10);
        EXPECT_EQ(t->tCuRotation, 0);
    }
}

TEST_F(ThermalDataWindow, SetTypeSelectsTheMatchingRadioOnlyForOneToFour) {
    window.SetType(4);
    EXPECT_TRUE(child<QRadioButton>("four")->isChecked());
    EXPECT_EQ(window.GetType(), 4);
    EXPECT_EQ(window.typeValue, 4);

    window.SetType(0);
    EXPECT_EQ(window.typeValue, 0);
    EXPECT_TRUE(child<QRadioButton>("four")->isChecked());
    EXPECT_EQ(window.GetType(), 4);

    window.SetType(6);
    EXPECT_EQ(window.typeValue, 2);
    EXPECT_EQ(window.GetType(), 2);

    window.SetType(-2147483647 - 1);
    EXPECT_EQ(window.typeValue, 0);
    EXPECT_EQ(window.GetType(), 2);
}

TEST_F(ThermalDataWindow, GetDataSettersShowAndStoreTheirValues) {
    window.SetHeightUnits(feet);
    window.SetTop(3000);
    window.SetBottom(-1);
    window.SetCloudBase(305);
    window.SetCloud(false);
    window.SetCuHs(1.3f);
    window.SetCuCloud(-0.25f);
    window.SetCoreBottom(15);
    window.SetCoreTop(85);
    window.SetWindDir(-90);

    EXPECT_EQ(text("top"), "9843");
    EXPECT_EQ(window.topValue, 3000);
    // The metres are kept as given even where rounded feet would not give them back.
    EXPECT_EQ(text("bottom"), "-2");
    EXPECT_EQ(window.bottomValue, -1);
    EXPECT_EQ(text("cloudBase"), "1001");
    EXPECT_EQ(window.cloudBaseValue, 305);
    EXPECT_FALSE(window.GetCloud());
    EXPECT_FALSE(window.cloudValue);
    EXPECT_EQ(text("cuHS"), "1.29999995231628");
    EXPECT_EQ(window.cuHSValue, 1.3f);
    EXPECT_EQ(text("cuCloud"), "-0.25");
    EXPECT_EQ(text("coreBottom"), "15");
    EXPECT_EQ(window.coreBottomValue, 15);
    EXPECT_EQ(window.coreTopValue, 85);
    EXPECT_EQ(text("windDir"), "-90");

    window.SetHeightUnits(meters);
    EXPECT_EQ(text("bottom"), "-1");
    EXPECT_EQ(window.bottomValue, -1);
}

TEST_F(ThermalDataWindow, ClosingOnlyHidesAndKeepsTheValues) {
    retype("radius", "750");
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(window.isHidden());
    window.show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.radiusValue, 750);
    EXPECT_EQ(text("radius"), "750");
}

} // namespace
