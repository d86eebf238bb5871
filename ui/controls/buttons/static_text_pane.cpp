#include "ui/controls/buttons/static_text_pane.h"

#include "framework/application/event_firing.h"
#include "framework/shortcut_registry.h"
#include "platform/colorref.h"
#include "ui/caption_mnemonic.h"
#include "ui/controls/buttons/button_objects.h"
#include "ui/controls/pane_windows.h"
#include "ui/controls/window_access.h"

namespace qv::ui {
namespace {

// DrawText flags for TextAlign 0 (left), 1 (centre) and 2 (right).
UINT alignment_flags(i32 align) { return align == 1 ? DT_CENTER : align == 2 ? DT_RIGHT : DT_LEFT; }

}  // namespace

COLORREF static_text_colour(i32 rgb, bool faded)
{
    auto component = [faded](i32 c8) {
        u32 c = static_cast<u32>(c8 & 0xFF) * 257;
        if (faded)
            c = (c + 0x18000) / 4;
        return (c >> 8) & 0xFF;
    };
    return platform::colorref_from_color(component(rgb >> 16) << 16 | component(rgb >> 8) << 8 | component(rgb));
}

StaticTextPane* StaticTextPane::Create(RuntimeObject* control, HWND parent)
{
    HWND window = create_pane_window(kPaneClass, parent);
    if (!window)
        return nullptr;
    auto* pane = new StaticTextPane(control);
    pane->Attach(window, true);
    return pane;
}

StaticTextPane::~StaticTextPane()
{
    if (m_shortcut_target)
        shortcut_registry().Unregister(m_shortcut_target, kShortcutLabel);
}

bool StaticTextPane::SetText(const std::u16string& text)
{
    if (text == m_text)
        return false;
    m_text = text;
    // The window keeps a copy as its own text too, so that WM_GETTEXT from outside (UI
    // automation, the GUI tests) reads what is drawn.
    if (m_window)
        SetWindowTextW(m_window, reinterpret_cast<const wchar_t*>(m_text.c_str()));
    return true;
}

void StaticTextPane::SetFont(const FontDescription& font) { m_font = acquire_font(font); }

void StaticTextPane::RegisterMnemonic(const std::string& caption)
{
    if (!m_window)
        return;
    const u32 target = static_cast<u32>(reinterpret_cast<uintptr_t>(m_window));
    const std::string shortcut = mnemonic_shortcut(caption);
    if (shortcut.empty()) {
        shortcut_registry().Unregister(target, kShortcutLabel);
        m_shortcut_target = 0;
    } else {
        shortcut_registry().Register(target, kShortcutLabel, shortcut);
        m_shortcut_target = target;
    }
}

void StaticTextPane::PaintInto(HDC dc)
{
    if (m_control) {
        const StaticTextObject* t = object_as<StaticTextObject>(m_control);
        RECT area;
        GetClientRect(m_window, &area);
        COLORREF back = GetSysColor(COLOR_BTNFACE);
        window_back_color(t->control.m_view, &back);
        HBRUSH brush = CreateSolidBrush(back);
        FillRect(dc, &area, brush);
        DeleteObject(brush);
        HGDIOBJ previous_font = m_font ? SelectObject(dc, m_font.get()) : nullptr;
        const bool faded = !t->control.enabled || !window_is_active(t->control.m_view);
        const COLORREF previous_colour = SetTextColor(dc, static_text_colour(t->textColor, faded));
        SetBkMode(dc, TRANSPARENT);
        // "&" marks the mnemonic, drawn underlined; "&&" draws one ampersand.
        const UINT align = alignment_flags(t->textAlign);
        if (t->multiLine) {
            DrawTextW(dc, reinterpret_cast<const wchar_t*>(m_text.c_str()), static_cast<int>(m_text.size()), &area,
                      align | DT_WORDBREAK);
        } else {
            // One line per CR, LF or CR LF; a single line is centred vertically.
            TEXTMETRICW metrics;
            GetTextMetricsW(dc, &metrics);
            const i32 line_height = metrics.tmHeight;
            RECT line = area;
            line.top = (area.bottom - area.top - line_height) / 2;
            size_t start = 0;
            while (start <= m_text.size()) {
                size_t end = m_text.find_first_of(u"\r\n", start);
                if (end == std::u16string::npos)
                    end = m_text.size();
                line.bottom = line.top + line_height;
                DrawTextW(dc, reinterpret_cast<const wchar_t*>(m_text.c_str() + start), static_cast<int>(end - start),
                          &line, align | DT_SINGLELINE | DT_NOCLIP);
                line.top += line_height;
                if (end >= m_text.size())
                    break;
                start = end + (m_text[end] == u'\r' && end + 1 < m_text.size() && m_text[end + 1] == u'\n' ? 2 : 1);
            }
        }
        SetTextColor(dc, previous_colour);
        if (previous_font)
            SelectObject(dc, previous_font);
    }
}

POINT StaticTextPane::Local(i32 x, i32 y) const
{
    const ControlBounds& b = control_fields(m_control)->bounds;
    return POINT{x - b.left, y - b.top};
}

bool StaticTextPane::DoMouseDown(i32 x, i32 y, u32)
{
    const POINT at = Local(x, y);
    return m_control && fire_boolean_event(m_control, kStaticMouseDown, false, at.x, at.y);
}

void StaticTextPane::DoMouseDrag(i32 x, i32 y)
{
    const POINT at = Local(x, y);
    if (m_control)
        fire_event(m_control, kStaticMouseDrag, at.x, at.y);
}

void StaticTextPane::DoMouseUp(i32 x, i32 y)
{
    const POINT at = Local(x, y);
    if (m_control)
        fire_event(m_control, kStaticMouseUp, at.x, at.y);
}

}  // namespace qv::ui
