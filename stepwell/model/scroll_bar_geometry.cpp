#include "stepwell/model/scroll_bar_geometry.h"

#include <algorithm>
#include <cstdint>

namespace stepwell::scrollbar {

int MulDivRound(int a, int b, int c)
{
    const std::int64_t num = static_cast<std::int64_t>(a) * b;
    const std::int64_t den = c;
    const bool negative = (num < 0) != (den < 0);
    const std::int64_t an = num < 0 ? -num : num;
    const std::int64_t ad = den < 0 ? -den : den;
    const std::int64_t q = (an + ad / 2) / ad;
    return static_cast<int>(negative ? -q : q);
}

bool CanScrollForShow(const Info& info)
{
    return info.page <= info.max && !(info.page == 0 && info.max == 0) && info.max > info.min;
}

bool CanScrollForDraw(const Info& info)
{
    return info.page <= info.max && info.max > info.min && info.max != 0;
}

SetInfoResult SetInfo(Bar& bar, unsigned mask, const Info& info)
{
    Info& kept = bar.info;
    if (mask & kMaskRange) {
        kept.min = info.min;
        kept.max = info.max;
    }
    if (mask & kMaskPage) {
        const std::int64_t range = static_cast<std::int64_t>(kept.max) - kept.min + 1;
        kept.page = static_cast<int>(std::min<std::int64_t>(info.page, range));
    }
    if (mask & kMaskPos) {
        const std::int64_t last = static_cast<std::int64_t>(kept.max) - kept.page + 1;
        kept.pos = static_cast<int>(std::min<std::int64_t>(std::max(info.pos, kept.min), last));
    }
    const bool wasShown = bar.shown;
    if ((mask & kMaskKeepShown) || (bar.flags & kKeepShown))
        bar.shown = true;
    else
        bar.shown = CanScrollForShow(kept);
    return {kept.pos, wasShown != bar.shown};
}

int ArrowLength(const Bar& bar, int systemArrow)
{
    return bar.buttonLength >= 0 ? bar.buttonLength : -bar.buttonLength * systemArrow;
}

int Thickness(const Bar& bar, int systemThickness)
{
    return bar.thickness >= 0 ? bar.thickness : -bar.thickness * systemThickness;
}

int ButtonSize(const ExtraButton& button, int systemArrow)
{
    return button.size >= 0 ? button.size : -button.size * systemArrow;
}

Thumb ThumbOf(const Info& info, int barLength, int arrow, int minThumb)
{
    Thumb thumb;
    thumb.track = barLength - 2 * arrow;
    const std::int64_t range = static_cast<std::int64_t>(info.max) - info.min + 1;
    // A range of 0 or less has no thumb: nothing below divides by it.
    if (range <= 0 || range > INT32_MAX)
        return thumb;
    const int r = static_cast<int>(range);
    if (info.page == 0)
        thumb.length = arrow;
    else
        thumb.length = std::max(MulDivRound(info.page, thumb.track, r), minThumb);
    const int divisor = r - std::max(info.page, 1);
    const int room = thumb.track - thumb.length;
    if (divisor != 0)
        thumb.offset = std::max(0, std::min(MulDivRound(info.pos - info.min, room, divisor), room));
    return thumb;
}

Sides SidesOf(const Bar& bar, int barLength, int systemArrow)
{
    Sides sides;
    for (const ExtraButton& button : bar.buttons) {
        if (button.side == 1)
            sides.startTotal += ButtonSize(button, systemArrow);
        else if (button.side == 2)
            sides.endTotal += ButtonSize(button, systemArrow);
    }
    sides.endShown = sides.endTotal < barLength - 24;
    sides.startShown = sides.endShown && sides.startTotal + sides.endTotal < barLength - 24;
    return sides;
}

Part HitTest(const Bar& bar, int barLength, int thickness, int along, int across, int systemArrow)
{
    if (across < 0 || across >= thickness || along < 0 || along >= barLength)
        return kNone;
    const Sides sides = SidesOf(bar, barLength, systemArrow);
    const int startSpace = StartSpace(sides);
    const int endSpace = EndSpace(sides);
    if (along < startSpace || along >= barLength - endSpace)
        return kExtraButton;
    const int length = barLength - startSpace - endSpace;
    const int p = along - startSpace;
    int arrow = ArrowLength(bar, systemArrow);
    if (length <= 2 * arrow)
        arrow = length / 2;
    if (p < arrow)
        return kLineUp;
    if (p >= length - arrow)
        return kLineDown;
    const Thumb thumb = ThumbOf(bar.info, length, arrow, bar.minThumb);
    // A thumb that would fill the whole track (or none at all) takes no click.
    if (thumb.length <= 0 || thumb.length >= thumb.track)
        return kNone;
    const int thumbStart = arrow + thumb.offset;
    if (p >= thumbStart && p < thumbStart + thumb.length)
        return kThumb;
    if (p < thumbStart)
        return kPageUp;
    return kPageDown;
}

ButtonHit HitExtraButton(const Bar& bar, int barLength, int thickness, int along, int across, int systemArrow)
{
    ButtonHit hit;
    if (across < 0 || across >= thickness || along < 0 || along >= barLength)
        return hit;
    const Sides sides = SidesOf(bar, barLength, systemArrow);
    int startPos = 0;
    int endPos = sides.endShown ? barLength - sides.endTotal : barLength;
    for (std::size_t i = 0; i < bar.buttons.size(); ++i) {
        const ExtraButton& button = bar.buttons[i];
        int* pos = nullptr;
        if (button.side == 1 && sides.startShown)
            pos = &startPos;
        else if (button.side == 2 && sides.endShown)
            pos = &endPos;
        if (!pos)
            continue;
        const int size = ButtonSize(button, systemArrow);
        if (along >= *pos && along < *pos + size)
            return {static_cast<int>(i), *pos, size};
        *pos += size;
    }
    return hit;
}

void FitResizable(Bar& bar, int barLength, int systemArrow)
{
    for (ExtraButton& button : bar.buttons)
        if (button.style & kLookResizable)
            button.size = button.preferred;
    const Sides sides = SidesOf(bar, barLength, systemArrow);
    int total = sides.startTotal + sides.endTotal;
    const int room = barLength - 50;
    for (ExtraButton& button : bar.buttons) {
        if (total <= room)
            break;
        if (!(button.style & kLookResizable) || (button.side != 1 && button.side != 2))
            continue;
        const int size = ButtonSize(button, systemArrow);
        const int wanted = std::min(std::max(size - (total - room), button.minimum), button.maximum);
        total += wanted - size;
        button.size = wanted;
    }
}

int Drag::ThumbStartFor(int along, int across) const
{
    const bool inside = along >= -48 && along < barLength + 48 && across >= -24 && across < thickness + 24;
    if (!inside)
        return thumbStart;
    const int highest = barLength - arrow - thumbLength;
    return std::max(arrow, std::min(along - grab, highest));
}

int Drag::PositionFor(const Info& info, int start) const
{
    const int moved = start - arrow;
    if (info.max > info.min) {
        const int divisor = (barLength - 2 * arrow) - thumbLength;
        if (divisor <= 0)
            return info.min;
        return info.min + MulDivRound(moved, info.max - info.min - info.page + 1, divisor);
    }
    return moved;
}

unsigned LightColour(unsigned highlight, unsigned window, unsigned face)
{
    return highlight == window && highlight != 0xFFFFFFu ? face : highlight;
}

bool ArrowInactive(const Bar& bar, bool first)
{
    if (bar.flags & (first ? kDisableFirst : kDisableLast))
        return true;
    return !CanScrollForDraw(bar.info) && !(bar.flags & kKeepShown);
}

std::vector<Piece> PiecesOf(const Bar& bar, int barLength, int systemArrow)
{
    std::vector<Piece> pieces;
    if (barLength <= 0)
        return pieces;
    const int arrow = ArrowLength(bar, systemArrow);
    if (barLength <= 2 * arrow) {
        const int half = barLength / 2;
        pieces.push_back({PieceKind::FirstArrow, 0, half, kLineUp});
        if (barLength % 2)
            pieces.push_back({PieceKind::Track, half, 1, kPageDown});
        pieces.push_back({PieceKind::LastArrow, barLength - half, half, kLineDown});
        return pieces;
    }
    pieces.push_back({PieceKind::FirstArrow, 0, arrow, kLineUp});
    const Thumb thumb = ThumbOf(bar.info, barLength, arrow, bar.minThumb);
    const int lastArrow = barLength - arrow;
    if (thumb.length > 0 && thumb.length <= thumb.track && CanScrollForDraw(bar.info) && !bar.bothArrowsDisabled()) {
        const int thumbStart = arrow + thumb.offset;
        pieces.push_back({PieceKind::PageBefore, arrow, thumbStart - arrow, kPageUp});
        pieces.push_back({PieceKind::PageAfter, thumbStart + thumb.length, lastArrow - thumbStart - thumb.length,
                          kPageDown});
        pieces.push_back({PieceKind::Thumb, thumbStart, thumb.length, kThumb});
    } else if (!CanScrollForDraw(bar.info) && (bar.flags & kKeepShown) && thumb.track > bar.minThumb) {
        pieces.push_back({PieceKind::Block, arrow, thumb.track - 1, kThumb});
        pieces.push_back({PieceKind::Strip, lastArrow - 1, 1, kPageDown});
    } else {
        pieces.push_back({PieceKind::Track, arrow, thumb.track, kPageDown});
    }
    pieces.push_back({PieceKind::LastArrow, lastArrow, arrow, kLineDown});
    return pieces;
}

}  // namespace stepwell::scrollbar
