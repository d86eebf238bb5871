// The port's text: drawing with DrawTextW at a baseline, in a rectangle or at a point, and
// the measurements of strings and of the font.
#include "graphics/graphics_port.h"
#include "ui/controls/wide_text.h"

namespace qv::graphics {
using ui::wide_text;
namespace {

constexpr i32 kUnboundedBottom = 32767;
constexpr i32 kUnwrappedRight = 30000;

}  // namespace

void GraphicsPort::draw_string(const StringRef& text, i32 x, i32 y, i32 wrap_width)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    std::wstring chars = wide_text(text);
    const Point at = device_point(x, y);
    RECT area{at.x, at.y - metrics(scope.dc()).tmAscent, wrap_width ? at.x + wrap_width : kUnwrappedRight,
              kUnboundedBottom};
    SetTextColor(scope.dc(), colorref());
    SetTextAlign(scope.dc(), 0);
    DrawTextW(scope.dc(), chars.data(), static_cast<int>(chars.size()), &area, DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
    SetTextAlign(scope.dc(), TA_BASELINE);
}

void GraphicsPort::draw_text_in_rect(const StringRef& text, const Rect& rect, i32 alignment)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    std::wstring chars = wide_text(text);
    const Point at = device_point(rect.left, rect.top);
    RECT area{at.x, at.y, at.x + (rect.right - rect.left), at.y + (rect.bottom - rect.top)};
    UINT flags = DT_WORDBREAK | DT_NOPREFIX | DT_LEFT;
    if (alignment == 1)
        flags |= DT_CENTER;
    else if (alignment == 2)
        flags |= DT_RIGHT;
    SetTextColor(scope.dc(), colorref());
    SetTextAlign(scope.dc(), 0);
    DrawTextW(scope.dc(), chars.data(), static_cast<int>(chars.size()), &area, flags);
    SetTextAlign(scope.dc(), TA_BASELINE);
}

void GraphicsPort::draw_text_at(const StringRef& text, Point baseline, const Rect* clip)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const std::wstring chars = wide_text(text);
    const Point at = device_point(baseline.x, baseline.y);
    SetTextColor(scope.dc(), colorref());
    SetTextAlign(scope.dc(), TA_BASELINE);
    if (!clip) {
        TextOutW(scope.dc(), at.x, at.y, chars.data(), static_cast<int>(chars.size()));
        return;
    }
    const Point corner = device_point(clip->left, clip->top);
    const RECT area{corner.x, corner.y, corner.x + (clip->right - clip->left), corner.y + (clip->bottom - clip->top)};
    ExtTextOutW(scope.dc(), at.x, at.y, ETO_CLIPPED, &area, chars.data(), static_cast<UINT>(chars.size()), nullptr);
}

i32 GraphicsPort::string_width(const StringRef& text)
{
    PortScope scope(*this);
    if (!scope.dc())
        return 0;
    const std::wstring chars = wide_text(text);
    SIZE size{};
    GetTextExtentPointW(scope.dc(), chars.data(), static_cast<int>(chars.size()), &size);
    return size.cx;
}

i32 GraphicsPort::string_height(const StringRef& text, i32 wrap_width)
{
    PortScope scope(*this);
    if (!scope.dc())
        return 0;
    std::wstring chars = wide_text(text);
    RECT area{0, 0, wrap_width, kUnboundedBottom};
    DrawTextW(scope.dc(), chars.data(), static_cast<int>(chars.size()), &area,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
    return area.bottom - area.top;
}

i32 GraphicsPort::text_height()
{
    PortScope scope(*this);
    return scope.dc() ? metrics(scope.dc()).tmHeight : 0;
}

i32 GraphicsPort::text_ascent()
{
    PortScope scope(*this);
    return scope.dc() ? metrics(scope.dc()).tmAscent : 0;
}

}  // namespace qv::graphics
