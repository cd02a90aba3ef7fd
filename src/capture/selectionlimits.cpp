#include "selectionlimits.h"

#include <algorithm>

// The arithmetic, per axis, with item length N and limit L (N - L is the room: on the width
// the preview's 112 pixels and its 10-pixel gap, on the height the toolbar and its gap):
// - a span [start, end] keeps room when start >= N - L (room before it) or end <= L (room
//   after it);
// - after a drag step without room, the edge that moved stops: a moved end at L, a moved
//   start where it was before the step, or at N - L when it already lay before that;
// - when a limit is set on a span without room, the span gives up its side with less free
//   space: its start goes to N - L, or its end to L.
// The simpler rule of cutting the length to L - (free space after) and putting the start back
// works on the length, not the edges: when the start edge is dragged, the end moves by the
// refused step, so the far edge creeps with every step of the pointer. Here each rule moves
// one edge only, and the edge that was not dragged stays put.
// Room of N - L = 122 before the span fits the preview with its gap exactly (it lies at
// start - 122); room after it of 122 leaves more than the 115 pixels from which the page
// puts the preview on the right (its picture ends 105 pixels into the 112-pixel item).

namespace SelectionLimits {

namespace {

// Room of the preview measured from the item's start: a start at or past it keeps room before.
double nearBorder(double itemLength, int limit) { return itemLength - limit; }

Span spanBetween(double start, double end)
{
    return Span{start, std::max(0.0, end - start)};
}

} // namespace

bool keepsRoom(const Span &span, double itemLength, int limit)
{
    if (limit == noLimit)
        return true;
    const double low = std::min(span.start, span.end());
    const double high = std::max(span.start, span.end());
    return low >= nearBorder(itemLength, limit) || high <= limit;
}

Span limitDragStep(Span span, double startBefore, double itemLength, int limit)
{
    if (keepsRoom(span, itemLength, limit))
        return span;
    const double end = span.end();
    if (span.start != startBefore) {
        const double start = std::max(startBefore, nearBorder(itemLength, limit));
        return spanBetween(start, end);
    }
    return spanBetween(span.start, std::max(span.start, double(limit)));
}

Span limitWholeSpan(Span span, double itemLength, int limit)
{
    if (keepsRoom(span, itemLength, limit))
        return span;
    const double freeAfter = itemLength - span.end();
    const double freeBefore = span.start;
    if (freeAfter < freeBefore)
        return spanBetween(nearBorder(itemLength, limit), span.end());
    return spanBetween(span.start, std::max(span.start, double(limit)));
}

} // namespace SelectionLimits
