#pragma once
// The arithmetic of the program's own drawn scroll bars, without windows:
// the numbers a bar keeps, its thumb, which part lies under a point, where a
// dragged thumb puts the position, the extra buttons a bar may carry at its
// ends, and the parts in the order they are drawn. Everything is worked out
// along the bar as for a horizontal one (a vertical bar exchanges x and y
// before asking).
#include <optional>
#include <vector>

namespace stepwell::scrollbar {

// Parts of a bar; each value is also the scroll request sent for it.
enum Part : int {
    kNone = -1,
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbPosition = 4,  // request only: the thumb was let go here
    kThumb = 5,          // also the request while the thumb is dragged
    kEndScroll = 8,      // request only
    kExtraButton = 128,
    kCorner = 32,        // item of the corner's notification
};

// Bar flags.
constexpr unsigned kDisableFirst = 1;
constexpr unsigned kDisableLast = 2;
constexpr unsigned kKeepShown = 4;
constexpr unsigned kShown = 8;

// Masks of SetInfo.
constexpr unsigned kMaskRange = 1;
constexpr unsigned kMaskPage = 2;
constexpr unsigned kMaskPos = 4;
constexpr unsigned kMaskKeepShown = 8;

struct Info {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
    bool operator==(const Info&) const = default;
};

// Extra-button look bits (the kind is in bits 0-4).
constexpr unsigned kKindMask = 0x1F;
constexpr unsigned kLookPressedDark = 0x20;
constexpr unsigned kLookArrowLeft = 0x40;
constexpr unsigned kLookArrowRight = 0x80;
constexpr unsigned kLookArrowUp = 0x100;
constexpr unsigned kLookArrowDown = 0x200;
constexpr unsigned kLookResizable = 0x400;
constexpr unsigned kLookPushFrame = 0x800;
constexpr unsigned kLookPushFrameThin = 0x1000;

struct ExtraButton {
    int side = 1;  // 1 at the start of the bar, 2 at its end
    int commandId = 0;
    unsigned style = 0;
    bool checked = false;
    int size = 0;  // pixels; negative: that many arrow sizes
    int preferred = 0;
    int minimum = 0;
    int maximum = 0;
};

struct Bar {
    unsigned flags = 0;
    bool shown = false;
    Info info;
    int kind = 0;   // 0 horizontal, 1 vertical
    int style = 0;  // 0 normal, 1 flat, 2 flat with hot tracking
    int minThumb = 6;
    int buttonLength = -1;  // negative: that many system arrow sizes
    int thickness = -1;     // negative: that many system bar sizes
    std::vector<ExtraButton> buttons;
    bool startSideShown = false;
    bool endSideShown = false;

    bool bothArrowsDisabled() const { return (flags & (kDisableFirst | kDisableLast)) == (kDisableFirst | kDisableLast); }
};

// a * b / c rounded to nearest (halves away from zero) in 64 bits; c must not be 0.
int MulDivRound(int a, int b, int c);

// Whether SetInfo shows a bar that is not kept shown.
bool CanScrollForShow(const Info& info);
// Whether the drawing gives the bar page areas and a thumb.
bool CanScrollForDraw(const Info& info);

// Applies the masked fields and decides visibility; answers the new position.
struct SetInfoResult {
    int pos = 0;
    bool visibilityChanged = false;
};
SetInfoResult SetInfo(Bar& bar, unsigned mask, const Info& info);

// The arrow length and thickness of a bar in pixels from the system sizes.
int ArrowLength(const Bar& bar, int systemArrow);
int Thickness(const Bar& bar, int systemThickness);
int ButtonSize(const ExtraButton& button, int systemArrow);

struct Thumb {
    int track = 0;   // length between the arrows
    int length = 0;  // 0: no thumb
    int offset = 0;  // from the track's start
    bool operator==(const Thumb&) const = default;
};
// The thumb of a bar proper (extra buttons' spaces taken off) of this length.
Thumb ThumbOf(const Info& info, int barLength, int arrow, int minThumb);

// The start-side and end-side totals and whether each side shows (decided
// on painting: the end side when its total is below length - 24, the start
// side when both together are too).
struct Sides {
    int startTotal = 0;
    int endTotal = 0;
    bool startShown = false;
    bool endShown = false;
};
Sides SidesOf(const Bar& bar, int barLength, int systemArrow);
// The spaces the shown sides take.
inline int StartSpace(const Sides& s) { return s.startShown ? s.startTotal : 0; }
inline int EndSpace(const Sides& s) { return s.endShown ? s.endTotal : 0; }

// The part at `along` (from the start of the whole bar, extra buttons
// included) for a point `across` from the bar's side of `thickness`.
Part HitTest(const Bar& bar, int barLength, int thickness, int along, int across, int systemArrow);

// The extra button at `along`, with its start and size along the bar.
struct ButtonHit {
    int index = -1;
    int start = 0;
    int size = 0;
};
ButtonHit HitExtraButton(const Bar& bar, int barLength, int thickness, int along, int across, int systemArrow);

// Shrinks the resizable buttons, in list order, until both sides fit within
// the length - 50 (their preferred sizes given back first).
void FitResizable(Bar& bar, int barLength, int systemArrow);

// A thumb being dragged: what the press keeps and where the mouse puts it.
struct Drag {
    int barLength = 0;   // the bar proper
    int thickness = 0;
    int arrow = 0;
    int thumbStart = 0;  // from the bar proper's start, at the press
    int grab = 0;        // from the thumb's start to the mouse
    int thumbLength = 0;
    int lastPos = 0;     // the last position sent

    // The thumb start for the mouse at (along, across), in the bar proper's
    // coordinates.
    int ThumbStartFor(int along, int across) const;
    // The position the thumb start gives.
    int PositionFor(const Info& info, int thumbStart) const;
};

// One drawn piece of a bar, in drawing order.
enum class PieceKind { FirstArrow, LastArrow, PageBefore, PageAfter, Thumb, Track, Block, Strip };
struct Piece {
    PieceKind kind = PieceKind::Track;
    int start = 0;  // along the bar proper
    int length = 0;
    int item = 0;   // part code of its item notification
    bool operator==(const Piece&) const = default;
};
std::vector<Piece> PiecesOf(const Bar& bar, int barLength, int systemArrow);

// The light colour of the track (0xRRGGBB): the highlight, or the face when
// the highlight equals the window colour and is not white.
unsigned LightColour(unsigned highlight, unsigned window, unsigned face);
// A pressed page area's colours: the 24 RGB bits inverted.
inline unsigned Complement(unsigned rgb) { return ~rgb & 0xFFFFFFu; }

// Whether an arrow draws inactive.
bool ArrowInactive(const Bar& bar, bool first);

}  // namespace stepwell::scrollbar
