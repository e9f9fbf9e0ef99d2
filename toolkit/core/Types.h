// Basic value types shared by the whole toolkit: points, rectangles, key
// codes, mouse buttons and the shift state.
#pragma once

#include <cstdint>

namespace tk {

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(TPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state as a bit set.
using TShiftState = unsigned;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64;

// Virtual-key codes.
namespace vk {
constexpr uint16_t Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Escape = 27, Space = 32,
                   Prior = 33, Next = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45,
                   Delete = 46, F1 = 112, F2 = 113, F3 = 114, F4 = 115, F6 = 117, F7 = 118, F8 = 119, F9 = 120, F10 = 121, F11 = 122, F12 = 123;
}

// Results of a modal window.
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
                       mrAll = 8;

// A colour: red + 256 * green + 65536 * blue, or a system colour index
// added to -16777216, or one of the special values.
using TColor = int32_t;
constexpr TColor clSystemColor = -16777216;
constexpr TColor clBlack = 0, clWhite = 0xFFFFFF, clNavy = 0x800000, clGray = 0x808080, clSilver = 0xC0C0C0,
                 clBtnFace = clSystemColor + 15, clWindow = clSystemColor + 5, clWindowText = clSystemColor + 8,
                 clBtnText = clSystemColor + 18, clBtnHighlight = clSystemColor + 20, clBtnShadow = clSystemColor + 16,
                 clHighlight = clSystemColor + 13, clHighlightText = clSystemColor + 14, clInfoBk = clSystemColor + 24,
                 clInfoText = clSystemColor + 23, clGrayText = clSystemColor + 17, clActiveCaption = clSystemColor + 2,
                 clInactiveCaptionText = clSystemColor + 19, clDefault = 536870912, clNone = 536870911;

}  // namespace tk
