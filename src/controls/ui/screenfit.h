#pragma once
// Keeps restored windows reachable: bounds stored while another screen was
// attached may lie wholly or partly outside every screen now present.
#include <QList>
#include <QRect>

class QWidget;

namespace screenfit {

// `frame` unchanged when it lies wholly on the given screen areas; otherwise
// moved, keeping its size, onto the area it overlaps most or, overlapping
// none, the area nearest to its centre. A frame larger than that area keeps
// its top-left corner on the area. No areas: unchanged.
QRect ontoNearestArea(const QRect &frame, const QList<QRect> &areas);

// The available areas of the screens present.
QList<QRect> screenAreas();

// Where a window whose client area is to be `client` goes so that its frame
// lies on the screens present; `window` gives the frame's width, as far as
// it is known yet.
QRect fitClient(const QWidget *window, const QRect &client);

} // namespace screenfit
