#include "gui/Theme.h"

#include <array>

namespace belmo::gui {

namespace {

FrameColours scheme(QRgb top, QRgb bottom, QRgb captionTop, QRgb captionBottom, QRgb border)
{
    return {QColor(top), QColor(bottom), QColor(captionTop), QColor(captionBottom), Qt::white, QColor(border),
            QColor(0x1A, 0x1A, 0x1A)};
}

}  // namespace

FrameColours frameColours(int number)
{
    static const std::array<FrameColours, 5> schemes = {
        scheme(0xEAF3FC, 0xB9D5F0, 0x4A7EB8, 0x24507F, 0x6C94C0),  // 1 light blue
        scheme(0xF6F6F6, 0xC9CDD2, 0x7A8591, 0x4A535D, 0x8A939C),  // 2 silver
        scheme(0xEFF7E9, 0xC3E0B2, 0x5C9A46, 0x356426, 0x7FA870),  // 3 green
        scheme(0xFFF7E8, 0xF0D7A8, 0xC08A36, 0x865A17, 0xC0A06A),  // 4 sand
        scheme(0xF4EFFA, 0xD3C5E8, 0x7E64AA, 0x4F3B75, 0x9A88BC),  // 5 lilac
    };
    // Scheme 0 (a frame not yet themed) and unknown numbers fall back into the list.
    const int index = number <= 0 ? 0 : (number - 1) % int(schemes.size());
    return schemes[index];
}

}  // namespace belmo::gui
