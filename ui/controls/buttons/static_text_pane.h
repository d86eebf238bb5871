// The peer of StaticText: a QV_Pane the runtime draws the text into, line by line or wrapped,
// faded while the control is disabled or its window inactive.
#pragma once

#include <string>

#include "ui/controls/font_cache.h"
#include "ui/controls/sub_pane.h"

namespace qv::ui {

class StaticTextPane final : public SubPane {
public:
    static StaticTextPane* Create(RuntimeObject* control, HWND parent);
    ~StaticTextPane() override;

    // Takes the text; false when it equals the copy the peer has (nothing to redraw).
    bool SetText(const std::u16string& text);
    void SetFont(const FontDescription& font);
    // Registers Alt plus the caption's mnemonic as the label shortcut (AcceleratorKey).
    void RegisterMnemonic(const std::string& caption);

    void PaintInto(HDC dc) override;
    bool DoMouseDown(i32 x, i32 y, u32 modifiers) override;
    void DoMouseDrag(i32 x, i32 y) override;
    void DoMouseUp(i32 x, i32 y) override;

private:
    using SubPane::SubPane;
    POINT Local(i32 x, i32 y) const;

    std::u16string m_text;
    FontRef m_font;
    u32 m_shortcut_target = 0;
};

// The colour a static text is drawn in: TextColor widened to 16-bit components, each faded
// to (c + 0x18000) / 4 when the control is disabled or its window inactive; back to 8 bits.
COLORREF static_text_colour(i32 rgb, bool faded);

}  // namespace qv::ui
