#include "appfixture.h"

#include "scene/mapview.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>

void AppTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    // Timers off: the tests run the handlers themselves.
    QFile settings(settingsPath());
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Timers]\nDataRead=0\nProfiler=0\nDisplay=0\n");
    settings.close();
    createForm();
}

void AppTest::TearDown() {
    form.reset();
}

void AppTest::createForm() {
    form.reset();
    auto fake = std::make_unique<FakeLink>();
    link = fake.get();
    form = std::make_unique<TMainForm>(std::move(fake), settingsPath());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

QString AppTest::writeProject(const QString& name, const QStringList& thermalLines) const {
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(QColor(120, 170, 90));
    picture.save(dir.filePath(QStringLiteral("map.bmp")), "BMP");
    QStringList lines{QStringLiteral("map.bmp"), QStringLiteral("47:30.000N"),
                      QStringLiteral("47:00.000N"), QStringLiteral("7:30.000E"),
                      QStringLiteral("8:30.000E")};
    lines += thermalLines;
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    return path;
}

QString AppTest::writeDat(const QString& name, const QStringList& lines) const {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    return path;
}

void AppTest::loadProject(const QString& path) {
    rec.files.push_back(path);
    action("LoadProject1")->trigger();
}

QAction* AppTest::action(const char* name) const {
    auto* found = form->findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QMenu* AppTest::menu(const char* name) const {
    auto* found = form->findChild<QMenu*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QPoint AppTest::viewportPoint(int x, int y) const {
    return form->imagePanel().mapFromScene(QPointF(x, y));
}

void AppTest::moveMouseTo(int x, int y) const {
    QWidget* viewport = form->imagePanel().viewport();
    const QPoint pos = viewportPoint(x, y);
    QMouseEvent move(QEvent::MouseMove, pos, viewport->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
}

void AppTest::clickMap(int x, int y) const {
    moveMouseTo(x, y);
    QTest::mouseClick(form->imagePanel().viewport(), Qt::LeftButton, Qt::NoModifier,
                      viewportPoint(x, y));
}

void AppTest::popupCommand(int x, int y, const char* menuName, const QString& caption) const {
    QWidget* viewport = form->imagePanel().viewport();
    const QPoint pos = viewportPoint(x, y);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
    QApplication::sendEvent(viewport, &event);
    QMenu* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(shown, nullptr) << "no popup menu at " << x << "," << y;
    EXPECT_EQ(shown->objectName(), QLatin1String(menuName));
    QAction* item = nullptr;
    for (QAction* candidate : shown->actions())
        if (candidate->text() == caption)
            item = candidate;
    shown->close();
    ASSERT_NE(item, nullptr) << qPrintable(caption);
    item->trigger();
}
