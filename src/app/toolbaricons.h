#pragma once

#include <QIcon>

// The zoom buttons' artwork: a magnifying glass with a plus or a minus sign. The open and
// save buttons use the style's standard icons.
QIcon ZoomIcon(bool zoomIn);
