#include "glyphlegend.h"

#include "flight/trail.h"
#include "scene/thermal.h"

#include <QGridLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace {

QPixmap Glyph(int type, bool cloud, bool active) {
    Thermal t;
    t.SetType(type);
    t.SetWindDir(270);
    t.SetCloud(cloud);
    t.SetActive(active);
    return QPixmap::fromImage(ThermalGlyphPicture(t));
}

QPixmap Cross() {
    QPixmap picture(12, 12);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QPen(QColor(0, 255, 0), 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(2, 2, 10, 10);
    painter.drawLine(10, 2, 2, 10);
    return picture;
}

QPixmap ClimbScale() {
    QPixmap picture(120, 10);
    QPainter painter(&picture);
    for (int x = 0; x < picture.width(); ++x) {
        const Rgb c = ClimbColour(-3.0 + 6.0 * x / (picture.width() - 1));
        painter.setPen(QColor(c.red, c.green, c.blue));
        painter.drawLine(x, 0, x, picture.height());
    }
    return picture;
}

} // namespace

QWidget* NewGlyphLegend(QWidget* parent) {
    auto* legend = new QWidget(parent, Qt::Window);
    legend->setObjectName(QStringLiteral("GlyphLegend"));
    legend->setWindowTitle(QObject::tr("Glyph Colours"));
    legend->setAttribute(Qt::WA_QuitOnClose, false);
    auto* grid = new QGridLayout(legend);
    const std::pair<QPixmap, QString> rows[] = {
        {Glyph(1, false, false), QObject::tr("1 Ridge")},
        {Glyph(1, true, false), QObject::tr("1 Ridge with a cloud")},
        {Glyph(2, false, false), QObject::tr("2 Turbulence")},
        {Glyph(3, false, false), QObject::tr("3 Turbulence")},
        {Glyph(4, false, false), QObject::tr("4 Thermal")},
        {Glyph(4, true, false), QObject::tr("4 Thermal with a cloud")},
        {Glyph(4, false, true), QObject::tr("4 Thermal the profiler flies now")},
        {Cross(), QObject::tr("Waypoint")},
        {ClimbScale(), QObject::tr("Trail: 3 m/s of sink to 3 m/s of lift")},
    };
    int row = 0;
    for (const auto& [picture, text] : rows) {
        auto* shown = new QLabel;
        shown->setPixmap(picture);
        grid->addWidget(shown, row, 0, Qt::AlignCenter);
        grid->addWidget(new QLabel(text), row++, 1);
    }
    grid->addWidget(new QLabel(QObject::tr("The line of types 1 to 3 points to where the wind "
                                           "comes from. The aircraft is the red cross.")),
                    row, 0, 1, 2);
    return legend;
}
