#pragma once

// Size limits of the selection while the scrolling capture is chosen. The page gives a limit
// per axis so that the selection leaves room for the preview (item length - limit) on one
// side. A selection "keeps room" when its start lies at or past that room on the near side,
// or its end stops before it on the far side. The rules work on one axis at a time.
namespace SelectionLimits {

constexpr int noLimit = -1;

struct Span
{
    double start = 0;
    double length = 0;
    double end() const { return start + length; }
};

// True when the span leaves the preview's room on one of its sides.
bool keepsRoom(const Span &span, double itemLength, int limit);

// After one drag step: the edge that moved stops where the room would vanish. A moved start
// goes back to where it was before the step (or to the room's border when that was no better);
// a moved end stops at the room's border. The edge that did not move stays.
Span limitDragStep(Span span, double startBefore, double itemLength, int limit);

// When a limit is set: a selection without room is narrowed on its side with less free space,
// so that the room opens on the side with more.
Span limitWholeSpan(Span span, double itemLength, int limit);

} // namespace SelectionLimits
