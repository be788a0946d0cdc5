#pragma once

class QWidget;

// Help > Glyph Colours: what each thermal glyph, the waypoint cross, the aircraft and the
// trail's colours mean. A window of its own, shown without blocking.
QWidget* NewGlyphLegend(QWidget* parent);
