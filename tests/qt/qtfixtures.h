#pragma once

#include "app/livetracking.h"
#include "app/mainform.h"
#include "builders.h"
#include "document/document.h"
#include "fakelink.h"
#include "recordingprompts.h"
#include "rowname.h"
#include "scene/mapview.h"
#include "scene/thermal.h"
#include "scene/waypoint.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using Strings = std::vector<std::string>;

// Thermal lines: the 13 basic values, the same thermal with both sections, and another
// thermal whose every value differs.
inline constexpr std::string_view kBasicLine = "4712345,812345,4,0,1500,300,270,5,1,450,1800,800,2";
inline constexpr std::string_view kFullLine =
    "4712345,812345,4,0,1500,300,270,5,1,450,1800,800,2,1,7,-1,-1,0,-0.5,-1,-1,450,2,4,100,50,"
    "10,90";
inline constexpr std::string_view kOtherLine =
    "4720000,780000,2,100,2000,700,90,3,0,0,2500,1200,3,1,7,1.5,0.75,45,0.25,10,20,0,2,4,70,30,"
    "15,85";

// Lines as the files hold them, each ending with CR LF.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines)
        (text += line) += "\r\n";
    return text;
}

// The twenty values a thermal and the Thermal Data window exchange.
inline auto Fields(const ThermalSettings& v) {
    return std::tie(v.type, v.bottom, v.top, v.radius, v.windDir, v.factor, v.cloud, v.cloudBase,
                    v.cloudRadius, v.cloudType, v.tCuHS, v.tCuVS, v.tCuRotation, v.tCuCloud,
                    v.tCuStart, v.tCuEnd, v.tStrengthPercent, v.tCorePercent, v.tCoreBasePercent,
                    v.tCoreTopPercent);
}

// A fixture of the repository: "files/example.prj", "map/huge.bmp".
inline QString DataFile(const char* relative) {
    return QStringLiteral(BREVAN_TEST_DATA "/") + QLatin1String(relative);
}

inline QByteArray ReadAll(const QString& path) {
    return QByteArray::fromStdString(ReadText(path.toStdString()));
}

inline void WriteAll(const QString& path, std::string_view bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// What a user does in a window: replace an edit's text by typing, click a button or box.
inline QLineEdit* EditIn(const QWidget& window, const char* name) {
    auto* edit = window.findChild<QLineEdit*>(QLatin1String(name));
    EXPECT_NE(edit, nullptr) << name;
    return edit;
}
inline void Retype(const QWidget& window, const char* name, const QString& text) {
    EditIn(window, name)->selectAll();
    QTest::keyClicks(EditIn(window, name), text);
}
inline void Click(const QWidget& window, const char* name) {
    auto* button = window.findChild<QAbstractButton*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

// How many pixels of the picture within the rectangle pass the test.
inline int CountPixels(const QImage& picture, QRect within,
                       const std::function<bool(QColor)>& passes) {
    int count = 0;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            count += passes(picture.pixelColor(x, y));
    return count;
}

// The glyph a view shows a thermal or a waypoint by, or null.
template <class Value> auto GlyphOf(const MapView& view, const Value& value) {
    using Shown = std::conditional_t<std::is_same_v<Value, Thermal>, TThermal, TWaypoint>;
    const Shown* found = nullptr;
    for (const MapGlyph* glyph : view.glyphs().glyphs())
        if (const auto* shown = dynamic_cast<const Shown*>(glyph);
            shown && &shown->value() == &value)
            found = shown;
    return found;
}

// A temporary folder for one test's files, and every prompt recorded meanwhile.
class InFolder : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    // A fixture copied into the folder under a name.
    QString copy(const char* fixture, const char* name) const {
        EXPECT_TRUE(QFile::copy(DataFile(fixture), path(name))) << fixture;
        return path(name);
    }
    // A project over the fixtures' 40 x 30 map picture (copied beside it once), with thermal
    // lines.
    QString project(const char* name, std::string_view thermalLines = {}) const {
        QFile::copy(DataFile("files/map.bmp"), QFileInfo(path(name)).dir().filePath("map.bmp"));
        WriteAll(path(name), ProjectText(thermalLines));
        return path(name);
    }

    QTemporaryDir dir;
    RecordingPrompts rec;
};

// A document shown in a frameless 300 x 300 map panel, wired as the main window wires them.
class DocumentView : public InFolder {
protected:
    void SetUp() override {
        QObject::connect(&doc, &Document::thermalsAdded, &view,
                         [this](std::size_t first, std::size_t count) {
                             view.AdoptThermals(doc.thermals(), first, count);
                         });
        QObject::connect(&doc, &Document::waypointsAdded, &view,
                         [this](std::size_t first, std::size_t count) {
                             view.AdoptWaypoints(doc.waypoints(), first, count);
                         });
        view.setFrameShape(QFrame::NoFrame);
        view.resize(300, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        doc.map().Resize(300, 300);
    }

    Document doc;
    DisplayUnits units;
    MapView view{doc.map(), units};
};

// The window runs in its folder, where the scenery tools are looked for when it opens.
class MainWindow : public InFolder {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        open("0");
    }
    void TearDown() override {
        form.reset();
        QDir::setCurrent(previous);
    }

    // A window on a fake link whose three timers run at the interval (0: not at all), with
    // the choices the one before kept.
    void open(const std::string& ms) {
        WriteAll(path("brevan.INI"),
                 "[Timers]\nDataRead=" + ms + "\nProfiler=" + ms + "\nDisplay=" + ms + "\n");
        auto fake = std::make_unique<FakeLink>();
        link = fake.get();
        form.reset(); // it keeps the user's choices as it closes
        form = std::make_unique<TMainForm>([&](auto) { return std::move(fake); },
                                           path("brevan.INI"), path("choices.ini"));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void run(Command command) const { form->action(command)->trigger(); }
    bool enabled(Command command) const { return form->action(command)->isEnabled(); }
    void loadProject(const QString& file) {
        rec.files.push_back(file.toStdString());
        run(Command::LoadProject1);
    }
    const Document& doc() const { return form->document(); }
    const Map& map() const { return form->document().map(); }
    LiveTracking& live() const { return form->liveTracking(); }
    MapView& panel() const { return form->imagePanel(); }
    QPoint at(QPoint pixel) const { return panel().mapFromScene(pixel); }
    QPoint pixelOf(const auto& value) const { return map().PixelOf(value.Position()); }
    // The pointer moves to a map pixel (sent directly: a moved cursor that is already there
    // sends nothing) and clicks.
    void clickAt(QPoint pixel) const {
        const QPoint global = panel().viewport()->mapToGlobal(at(pixel));
        QMouseEvent move(QEvent::MouseMove, at(pixel), global, Qt::NoButton, {}, {});
        QApplication::sendEvent(panel().viewport(), &move);
        QTest::mouseClick(panel().viewport(), Qt::LeftButton, {}, at(pixel));
    }
    // The pointer moves to a viewport position with a button held, then lets go.
    void dragBy(Qt::MouseButton button, QPoint from, QPoint by) const {
        QTest::mousePress(panel().viewport(), button, {}, from);
        QMouseEvent move(QEvent::MouseMove, from + by, panel().viewport()->mapToGlobal(from + by),
                         button, button, {});
        QApplication::sendEvent(panel().viewport(), &move);
        QTest::mouseRelease(panel().viewport(), button, {}, from + by);
    }
    // Opens the popup menu at a map pixel and chooses one of its items.
    void popup(QPoint pixel, const char* menuName, const char* item) const {
        const QPoint global = panel().viewport()->mapToGlobal(at(pixel));
        QContextMenuEvent event(QContextMenuEvent::Mouse, at(pixel), global);
        QApplication::sendEvent(panel().viewport(), &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu && menu->objectName() == menuName) << menuName;
        menu->close();
        for (QAction* action : menu->actions()) {
            if (action->text() == QLatin1String(item))
                action->trigger();
        }
    }

    const QString previous = QDir::currentPath();
    FakeLink* link = nullptr;
    std::unique_ptr<TMainForm> form;
};

// A window with a project of the 40 x 30 map open.
class EditingMap : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        loadProject(project("alps.prj"));
        rec.clear();
    }
};
