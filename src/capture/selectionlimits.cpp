#include "selectionlimits.h"

#include <algorithm>

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
