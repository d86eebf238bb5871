#include "ui/controls/edit_field/edit_pane.h"
#include "platform/win32/failed_call.h"
#include "ui/controls/control_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/once.h"
#include "framework/application/event_firing.h"
#include "framework/menus/menu_dispatch.h"
#include "platform/colorref.h"
#include "platform/files.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/runtime_string.h"
#include "runtime/text/encoding_tags.h"
#include "ui/clipboard/system_clipboard.h"
#include "ui/binding/control_binding.h"
#include "ui/controls/edit_field/edit_field_object.h"
#include "ui/controls/window_access.h"
#include "ui/controls/window_controls.h"
#include "ui/edit_text.h"

namespace qv::ui {
namespace {

constexpr DWORD kEventMask = ENM_CHANGE | ENM_SELCHANGE;
constexpr i32 kNoLimit = 1000000;
constexpr WPARAM kUndoLimit = 100;  // the control's own default
// Posted to the control when its kept text is waiting to be pushed.
constexpr UINT kPushTextMessage = WM_APP + 0x51;

// Messages through which the user or the system may change the control's text (EN_CHANGE
// reports the rest).
bool may_edit(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
    case WM_SETTEXT:
    case EM_SETTEXTEX:
    case EM_REPLACESEL:
    case EM_STREAMIN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_DROPFILES: return true;
    default: return false;
    }
}

COLORREF colour_ref(i32 rgb) { return platform::colorref_from_color(static_cast<u32>(rgb)); }

CHARFORMATW char_format(DWORD mask)
{
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    return format;
}

constexpr DWORD kRunMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR;

StyleRun run_of(const CHARFORMATW& format, i32 length)
{
    StyleRun run;
    run.length = length;
    const COLORREF colour =
        (format.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : format.crTextColor;
    run.color = platform::color_from_colorref(colour);
    run.size = format.yHeight / 20;  // twips
    run.style = static_cast<u8>(((format.dwEffects & CFE_BOLD) ? kRunBold : 0) |
                                ((format.dwEffects & CFE_ITALIC) ? kRunItalic : 0) |
                                ((format.dwEffects & CFE_UNDERLINE) ? kRunUnderline : 0));
    const auto* face = reinterpret_cast<const char16_t*>(format.szFaceName);
    run.face = platform::win32::narrow(std::u16string_view(face, std::char_traits<char16_t>::length(face)));
    return run;
}

CHARFORMATW format_of(const StyleRun& run)
{
    CHARFORMATW format = char_format(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_COLOR);
    format.dwEffects = ((run.style & kRunBold) ? CFE_BOLD : 0) | ((run.style & kRunItalic) ? CFE_ITALIC : 0) |
                       ((run.style & kRunUnderline) ? CFE_UNDERLINE : 0);
    format.crTextColor = platform::colorref_from_color(run.color);
    if (run.size > 0) {
        format.dwMask |= CFM_SIZE;
        format.yHeight = run.size * 20;
    }
    const std::u16string face = platform::win32::widen_u16(run.face).substr(0, LF_FACESIZE - 1);
    if (!face.empty()) {
        format.dwMask |= CFM_FACE;
        face.copy(reinterpret_cast<char16_t*>(format.szFaceName), face.size());
    }
    return format;
}

// EM_STREAMIN and EM_STREAMOUT move bytes through a callback with a cookie.
struct StreamBuffer {
    const std::vector<u8>* in = nullptr;
    size_t at = 0;
    std::string out;
};

DWORD CALLBACK read_stream(DWORD_PTR cookie, LPBYTE bytes, LONG wanted, LONG* given)
{
    auto* buffer = reinterpret_cast<StreamBuffer*>(cookie);
    const size_t count = std::min(static_cast<size_t>(wanted), buffer->in->size() - buffer->at);
    std::memcpy(bytes, buffer->in->data() + buffer->at, count);
    buffer->at += count;
    *given = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK write_stream(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* taken)
{
    reinterpret_cast<StreamBuffer*>(cookie)->out.append(reinterpret_cast<const char*>(bytes),
                                                         static_cast<size_t>(count));
    *taken = count;
    return 0;
}

// Alignment 2 centre, 3 right; anything else is the default, left.
WORD paragraph_alignment(i32 alignment) { return alignment == 2 ? PFA_CENTER : alignment == 3 ? PFA_RIGHT : PFA_LEFT; }

// The rich edit libraries, loaded once per process.
void load_rich_edit()
{
    static Once s_once;
    s_once([&] {
        // Either library registers the rich edit class the fields use.
        const bool riched32 = LoadLibraryA("RICHED32.DLL") != nullptr;
        if (!LoadLibraryA("RICHED20.DLL") && !riched32)
            platform::win32::note_failed_call("LoadLibraryA", "RICHED20.DLL");
    });
}

DWORD window_style(const EditFieldObject* f)
{
    if (!f->multiLine)
        return ES_AUTOHSCROLL;
    DWORD style = f->scrollBarVertical ? (WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL)
                                       : (ES_MULTILINE | ES_NOHIDESEL);
    if (f->scrollBarHorizontal)
        style |= WS_HSCROLL | ES_AUTOHSCROLL;
    return style;
}

// A one-character string for KeyDown: the typed character itself, in UTF-8.
StringRef key_text(char16_t c) { return utf8_string(std::u16string(1, c)); }

}  // namespace

EditPane::EditPane(RuntimeObject* field) : SubPane(field), m_back_colour(GetSysColor(COLOR_WINDOW)) { }

EditPane* EditPane::Create(RuntimeObject* field, HWND parent)
{
    load_rich_edit();
    EditFieldObject* f = edit_fields(field);
    const DWORD ex_style = f->border ? WS_EX_CLIENTEDGE : 0;
    HWND window =
        CreateWindowExW(ex_style, L"RichEdit20W", L"", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | window_style(f), 0, 0,
                        0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        platform::win32::note_failed_call("CreateWindowExW", "RichEdit20W");
        return nullptr;
    }
    auto* pane = new EditPane(field);
    pane->Attach(window, true);
    pane->Subclass(window);
    SendMessageW(window, EM_SETEVENTMASK, 0, kEventMask);
    pane->SetFont(edit_field_font(f));
    pane->SetAlignment(f->alignment);
    pane->SetReadOnly(f->readOnly != 0);
    pane->SetBackColor(f->backColor);
    pane->SetTextColor(f->textColor);
    f->textChangeBusy = 1;
    f->selChangeBusy = 1;
    pane->SetText(StringRef::share(f->text));
    pane->SetLimit(f->limitText);
    f->textChangeBusy = 0;
    f->selChangeBusy = 0;
    pane->SetPassword(f->password != 0);
    pane->SetAcceptTabs(f->acceptTabs != 0);
    return pane;
}

EditPane::~EditPane() { }

template <typename F>
void EditPane::Quietly(F change)
{
    const LRESULT mask = SendMessageW(m_window, EM_SETEVENTMASK, 0, 0);
    change();
    SendMessageW(m_window, EM_SETEVENTMASK, 0, mask);
}

// ---- Text -------------------------------------------------------------------------------

std::u16string EditPane::NativeText() const
{
    if (!m_window)
        return {};
    GETTEXTLENGTHEX length{GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT n = SendMessageW(m_window, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (n <= 0)
        return {};
    std::u16string text(static_cast<size_t>(n) + 1, u'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(char16_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const LRESULT got =
        SendMessageW(m_window, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    to_runtime_line_ends(text);
    return text;
}

void EditPane::SetNativeText(const std::u16string& text)
{
    if (m_window)
        SetWindowTextW(m_window, reinterpret_cast<const wchar_t*>(text.c_str()));
}

StringRef EditPane::Text() const
{
    if (m_password)
        return utf8_string(m_unmasked);
    if (!m_text_known) {
        m_text = utf8_string(NativeText());
        m_text_known = true;
    }
    return m_text;
}

StringRef EditPane::KeptForm(const StringRef& text) const
{
    // Only where the control gives back exactly what it was given: valid UTF-8 with lone CRs,
    // no zero and within the limit, in a multi-line field (a single-line one stops at the
    // first line end).
    if (!m_window || m_password || !m_control || !edit_fields(m_control)->multiLine || text.is_nil() ||
        text.encoding() != kEncodingUTF8)
        return StringRef();
    const auto* bytes = reinterpret_cast<const char*>(text.bytes());
    const i32 length = text.length();
    for (i32 i = 0; i < length; ++i)
        if (bytes[i] == '\n' || bytes[i] == '\0')
            return StringRef();
    const i32 limit = edit_fields(m_control)->limitText > 0 ? edit_fields(m_control)->limitText : kNoLimit;
    const int units = length ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0) : 0;
    if ((length && units == 0) || units > limit)
        return StringRef();
    return text;
}

void EditPane::PushText()
{
    if (!m_push_pending || m_pushing || !m_window)
        return;
    m_pushing = true;
    m_push_pending = false;
    const std::u16string wide = utf16_of(m_text);
    // TextChange ran when the text was set; a move of the selection is still reported.
    const LRESULT mask = SendMessageW(m_window, EM_SETEVENTMASK, 0, kEventMask & ~ENM_CHANGE);
    // Setting the text empties the undo stack anyway; without one, the old text is not
    // recorded first, which takes about a third of the time of a large text.
    SendMessageW(m_window, EM_SETUNDOLIMIT, 0, 0);
    SetWindowTextW(m_window, reinterpret_cast<const wchar_t*>(wide.c_str()));
    if (m_window) {
        SendMessageW(m_window, EM_SETUNDOLIMIT, kUndoLimit, 0);
        SendMessageW(m_window, EM_SETEVENTMASK, 0, mask);
    }
    m_pushing = false;
}

template <typename F>
void EditPane::FromCode(F change)
{
    ++m_code_changes;
    change();
    --m_code_changes;
}

void EditPane::SetText(const StringRef& text)
{
    // A bound source hands back the text just pushed to it: the field has it already.
    if (m_pushing_to_source && !text.is_nil() && text.CompareExact(Text()) == 0)
        return;
    FromCode([&] { SetTextFromCode(text); });
}

void EditPane::SetTextFromCode(const StringRef& text)
{
    StringRef kept = KeptForm(text);
    if (!kept.is_nil()) {
        m_text = kept;
        m_text_known = true;
        if (!m_push_pending) {
            m_push_pending = true;
            PostMessageW(m_window, kPushTextMessage, 0, 0);
        }
        FireTextChange();  // what the control's own notification would have run
        return;
    }
    m_push_pending = false;  // superseded
    ForgetText();
    std::u16string wide = utf16_of(text);
    if (m_password) {
        m_unmasked = wide;
        SetNativeText(masked_text(wide));
    } else {
        SetNativeText(wide);
    }
}

// ---- Selection --------------------------------------------------------------------------

i32 EditPane::SelStart() const
{
    CHARRANGE range{0, 0};
    if (m_window)
        SendMessageW(m_window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMin;
}

i32 EditPane::SelLength() const
{
    CHARRANGE range{0, 0};
    if (m_window)
        SendMessageW(m_window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMax - range.cpMin;
}

void EditPane::SetSelection(i32 start, i32 length)
{
    if (!m_window)
        return;
    CHARRANGE range{start, start + (length < 0 ? 0 : length)};
    SendMessageW(m_window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

StringRef EditPane::SelText() const
{
    if (!m_window)
        return StringRef();
    const i32 start = SelStart();
    const i32 length = SelLength();
    std::u16string text;
    if (m_password) {
        text = m_unmasked.substr(std::min<size_t>(static_cast<size_t>(start), m_unmasked.size()),
                                 static_cast<size_t>(length));
    } else {
        text.assign(static_cast<size_t>(length) + 1, u'\0');
        const LRESULT got = SendMessageW(m_window, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        to_runtime_line_ends(text);
    }
    return utf8_string(text);
}

void EditPane::SetSelectedText(const std::u16string& text)
{
    FromCode([&] { ReplaceSelection(text); });
}

void EditPane::ReplaceSelection(const std::u16string& text)
{
    if (!m_window)
        return;
    ForgetText();
    if (m_password) {
        const i32 start = SelStart();
        replace_range(m_unmasked, start, SelLength(), text);
        SendMessageW(m_window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(masked_text(text).c_str()));
    } else {
        SendMessageW(m_window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

// ---- Appearance -------------------------------------------------------------------------

void EditPane::SetReadOnly(bool on)
{
    if (m_window)
        SendMessageW(m_window, EM_SETREADONLY, on ? TRUE : FALSE, 0);
}

void EditPane::SetLimit(i32 characters)
{
    if (m_window)
        SendMessageW(m_window, EM_EXLIMITTEXT, 0, characters > 0 ? characters : kNoLimit);
}

void EditPane::SetTextColor(i32 rgb)
{
    if (!m_window)
        return;
    Quietly([&] {
        CHARFORMATW format = char_format(CFM_COLOR);
        format.crTextColor = colour_ref(rgb);
        SendMessageW(m_window, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    });
}

void EditPane::SetBackColor(i32 rgb)
{
    m_back_colour = colour_ref(rgb);
    if (m_window && m_enabled)
        SendMessageW(m_window, EM_SETBKGNDCOLOR, 0, m_back_colour);
}

void EditPane::SetAlignment(i32 alignment)
{
    if (!m_window || alignment == m_alignment)
        return;
    m_alignment = alignment;
    const WORD native = paragraph_alignment(alignment);
    Quietly([&] {
        CHARRANGE kept{0, 0};
        SendMessageW(m_window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
        SendMessageW(m_window, EM_HIDESELECTION, TRUE, 0);
        CHARRANGE all{0, -1};
        SendMessageW(m_window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        PARAFORMAT paragraph{};
        paragraph.cbSize = sizeof paragraph;
        paragraph.dwMask = PFM_ALIGNMENT;
        paragraph.wAlignment = native;
        SendMessageW(m_window, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
        SendMessageW(m_window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
        SendMessageW(m_window, EM_HIDESELECTION, FALSE, 0);
    });
}

void EditPane::SetPassword(bool on)
{
    if (on == m_password || !m_window)
        return;
    const i32 start = SelStart();
    const i32 length = SelLength();
    ForgetText();
    if (on) {
        m_unmasked = NativeText();
        m_password = true;
        SetNativeText(masked_text(m_unmasked));
    } else {
        m_password = false;
        SetNativeText(m_unmasked);
        m_unmasked.clear();
    }
    SetSelection(start, length);
}

FontDescription edit_field_font(const EditFieldObject* f)
{
    return control_font(StringRef::share(f->textFont), f->textSize, f->bold != 0, f->italic != 0, f->underline != 0);
}

void EditPane::SetFont(const FontDescription& font)
{
    // The previous font goes once the control has the new one.
    const FontRef previous = std::exchange(m_font, acquire_font(font));
    if (m_window && m_font)
        SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
}

void EditPane::SetState(i32 state)
{
    if (!m_window || (state != kEnable && state != kDisable)) {
        SubPane::SetState(state);
        return;
    }
    const bool enable = state == kEnable;
    if (enable == m_enabled)
        return;
    m_enabled = enable;
    EnableWindow(m_window, enable ? TRUE : FALSE);
    UpdateDisabledHelp();
    const bool styled = m_control && edit_fields(m_control)->styled;
    Quietly([&] {
        CHARFORMATW format = char_format(CFM_COLOR);
        if (!enable) {
            const COLORREF back =
                m_back_colour == GetSysColor(COLOR_WINDOW) ? GetSysColor(COLOR_BTNFACE) : m_back_colour;
            SendMessageW(m_window, EM_SETBKGNDCOLOR, 0, back);
            if (!styled) {
                SendMessageW(m_window, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
                m_saved_text_colour = format.crTextColor;
                format.dwEffects = 0;
                format.crTextColor = GetSysColor(COLOR_GRAYTEXT);
                SendMessageW(m_window, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
            }
        } else {
            SendMessageW(m_window, EM_SETBKGNDCOLOR, 0, m_back_colour);
            if (!styled) {
                format.crTextColor = m_saved_text_colour;
                SendMessageW(m_window, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
            }
        }
    });
}

// ---- Formats of the selection ----------------------------------------------------------

CHARFORMATW EditPane::SelectionFormat() const
{
    CHARFORMATW format = char_format(0);
    if (m_window)
        SendMessageW(m_window, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

void EditPane::ApplyToSelection(CHARFORMATW& format)
{
    if (m_window)
        SendMessageW(m_window, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void EditPane::SetSelectionEffects(DWORD mask, DWORD effects)
{
    CHARFORMATW format = char_format(mask);
    format.dwEffects = effects;
    ApplyToSelection(format);
}

void EditPane::SetSelectionFace(const std::u16string& face)
{
    CHARFORMATW format = char_format(CFM_FACE);
    const std::u16string kept = face.substr(0, LF_FACESIZE - 1);
    kept.copy(reinterpret_cast<char16_t*>(format.szFaceName), kept.size());
    ApplyToSelection(format);
}

// The control keeps sizes in twips.
i32 EditPane::SelectionSize() const { return SelectionFormat().yHeight / 20; }

void EditPane::SetSelectionSize(i32 points)
{
    CHARFORMATW format = char_format(CFM_SIZE);
    format.yHeight = points * 20;
    ApplyToSelection(format);
}

i32 EditPane::SelectionColor() const
{
    return static_cast<i32>(platform::color_from_colorref(SelectionFormat().crTextColor));
}

void EditPane::SetSelectionColor(i32 rgb)
{
    CHARFORMATW format = char_format(CFM_COLOR);
    format.crTextColor = colour_ref(rgb);
    ApplyToSelection(format);
}

i32 EditPane::SelectionAlignment() const
{
    if (!m_window)
        return 0;
    PARAFORMAT paragraph{};
    paragraph.cbSize = sizeof paragraph;
    SendMessageW(m_window, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    return paragraph.wAlignment == PFA_CENTER ? 2 : paragraph.wAlignment == PFA_RIGHT ? 3 : 1;
}

void EditPane::SetSelectionAlignment(i32 alignment)
{
    if (!m_window)
        return;
    PARAFORMAT paragraph{};
    paragraph.cbSize = sizeof paragraph;
    paragraph.dwMask = PFM_ALIGNMENT;
    paragraph.wAlignment = paragraph_alignment(alignment);
    SendMessageW(m_window, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
}

// ---- Styled text ---------------------------------------------------------------------

template <typename F>
void EditPane::KeepingSelection(F change)
{
    Quietly([&] {
        CHARRANGE kept{0, 0};
        SendMessageW(m_window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
        SendMessageW(m_window, EM_HIDESELECTION, TRUE, 0);
        change();
        SendMessageW(m_window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
        SendMessageW(m_window, EM_HIDESELECTION, FALSE, 0);
    });
}

CHARFORMATW EditPane::RangeFormat(i32 start, i32 length)
{
    SetSelection(start, length);
    CHARFORMATW format = char_format(kRunMask);
    SendMessageW(m_window, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

std::vector<StyleRun> EditPane::StyleRuns()
{
    std::vector<StyleRun> runs;
    if (!m_window)
        return runs;
    PushText();
    GETTEXTLENGTHEX count{GTL_PRECISE | GTL_NUMCHARS, 1200};
    const i32 length =
        static_cast<i32>(SendMessageW(m_window, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&count), 0));
    // The control tells which attributes a whole range shares: each run is found by doubling
    // its length while the format holds and halving back in, a few requests per run rather
    // than one per character.
    const auto uniform = [&](i32 start, i32 units) { return (RangeFormat(start, units).dwMask & kRunMask) == kRunMask; };
    KeepingSelection([&] {
        for (i32 at = 0; at < length;) {
            const CHARFORMATW first = RangeFormat(at, 1);
            i32 good = 1, bad = 0;
            while (at + good < length) {
                const i32 next = std::min(length - at, good * 2);
                if (!uniform(at, next)) {
                    bad = next;
                    break;
                }
                good = next;
            }
            while (bad - good > 1) {
                const i32 middle = good + (bad - good) / 2;
                (uniform(at, middle) ? good : bad) = middle;
            }
            append_run(runs, run_of(first, good));
            at += good;
        }
    });
    return runs;
}

void EditPane::SetStyleRuns(std::span<const StyleRun> runs)
{
    if (!m_window || runs.empty())
        return;
    PushText();
    KeepingSelection([&] {
        i32 at = 0;
        for (const StyleRun& run : runs) {
            SetSelection(at, run.length);
            CHARFORMATW format = format_of(run);
            ApplyToSelection(format);
            at += run.length;
        }
    });
}

bool EditPane::LoadStyledFile(const std::string& utf8_path)
{
    if (!m_window || m_password)
        return false;
    const std::optional<std::vector<u8>> bytes = platform::read_whole_file(utf8_path);
    if (!bytes)
        return false;
    static constexpr char kRtf[] = "{\\rtf";
    const bool rtf = bytes->size() >= 5 && std::memcmp(bytes->data(), kRtf, 5) == 0;
    m_push_pending = false;  // the file's text replaces any text still waiting
    StreamBuffer buffer;
    buffer.in = &*bytes;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&buffer), 0, &read_stream};
    Quietly([&] {
        SendMessageW(m_window, EM_STREAMIN, rtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    });
    ForgetText();
    FromCode([&] { AfterEdit(); });
    return true;
}

bool EditPane::SaveStyledFile(const std::string& utf8_path)
{
    if (!m_window)
        return false;
    PushText();
    StreamBuffer buffer;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&buffer), 0, &write_stream};
    SendMessageW(m_window, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    HANDLE file = CreateFileW(platform::win32::widen(utf8_path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, buffer.out.data(), static_cast<DWORD>(buffer.out.size()), &written, nullptr) &&
                       written == buffer.out.size();
    CloseHandle(file);
    return whole;
}

// ---- Focus ------------------------------------------------------------------------------

bool EditPane::CanTakeFocus() const { return m_window && IsWindowVisible(m_window) && IsWindowEnabled(m_window); }

void EditPane::GainFocus()
{
    if (m_window && GetFocus() != m_window)
        SetFocus(m_window);
}

void EditPane::LoseFocus()
{
    if (m_control)
        fire_event(m_control, kEditLostFocus);
}

bool EditPane::AcceptsReturn() const { return m_control && edit_fields(m_control)->multiLine; }

// A wheel turned over the field while another control has the focus reaches the window, which
// hands it here: a multi-line field scrolls its lines, as it does for a wheel of its own.
bool EditPane::DoMouseWheel(i32, i32, i32 lines)
{
    if (!m_window || !(GetWindowLongW(m_window, GWL_STYLE) & ES_MULTILINE))
        return false;
    SendMessageW(m_window, EM_LINESCROLL, 0, lines);
    return true;
}

// ---- Events -----------------------------------------------------------------------------

void EditPane::PushToDataSource()
{
    if (!m_control || m_code_changes > 0 || m_pushing_to_source)
        return;
    const ObjectRef source = ObjectRef::share(edit_fields(m_control)->boundDataSource);
    if (source.is_nil())
        return;
    const ObjectRef held = ObjectRef::share(m_control);
    const StringRef text = Text();
    m_pushing_to_source = true;
    push_text_to_source(source.get(), text.get());
    m_pushing_to_source = false;
}

void EditPane::FireTextChange()
{
    if (!m_control)
        return;
    PushToDataSource();
    if (!m_control)
        return;
    EditFieldObject* f = edit_fields(m_control);
    if (f->textChangeBusy)
        return;
    const ObjectRef held = ObjectRef::share(m_control);  // the handler may close the field
    RuntimeObject* field = held.get();
    f->textChangeBusy = 1;
    fire_event(field, kEditTextChange);
    f->textChangeBusy = 0;
}

void EditPane::FireSelChange()
{
    if (!m_control)
        return;
    EditFieldObject* f = edit_fields(m_control);
    if (f->selChangeBusy)
        return;
    const ObjectRef held = ObjectRef::share(m_control);
    RuntimeObject* field = held.get();
    fire_event(field, kEditEnableMenuItems);
    f->selChangeBusy = 1;
    fire_event(field, kEditSelChange);
    f->selChangeBusy = 0;
}

void EditPane::AfterEdit()
{
    FireTextChange();
    FireSelChange();
}

// The control reports the change itself while it makes it: quiet then, so that TextChange and
// SelChange run once each, after it.
template <typename F>
void EditPane::EditThenNotify(F change)
{
    Quietly(change);
    AfterEdit();
}

void EditPane::DoCommand(u32 notification)
{
    if (notification == EN_CHANGE) {
        ForgetText();
        FireTextChange();
    } else if (notification == EN_SETFOCUS && m_control) {
        set_window_focus_pane(control_fields(m_control)->m_view, this);
        move_focus(this);
        fire_event(m_control, kEditGotFocus);
    }
}

void EditPane::DoNotify(NMHDR* header)
{
    if (header && header->code == EN_SELCHANGE)
        FireSelChange();
}

bool EditPane::TypeIntoPassword(char16_t c)
{
    if (!m_password || c == 8 || c == 13 || c == 27)
        return false;
    ReplaceSelection(std::u16string(1, c));
    return true;
}

bool EditPane::OwnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    *result = 0;
    if (message == kPushTextMessage) {
        PushText();
        return true;
    }
    // Whatever the control is asked, it answers with the text the field has.
    if (message != WM_NCDESTROY)
        PushText();
    if (may_edit(message) && !m_pushing)
        ForgetText();
    switch (message) {
    case WM_CHAR: {
        const auto c = static_cast<char16_t>(wparam);
        if (c != 8 && c != 13 && m_control) {
            StringRef key = key_text(c);
            if (fire_boolean_event(m_control, kEditKeyDown, false, key.get()))
                return true;
        }
        if (TypeIntoPassword(c))
            return true;
        break;
    }
    case WM_PASTE:
        if (m_control && !edit_fields(m_control)->readOnly)
            ReplaceSelection(system_clipboard_unicode_text());
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        m_mouse_down_taken = m_control &&
            fire_boolean_event(m_control, kEditMouseDown, false, static_cast<i32>(static_cast<short>(LOWORD(lparam))),
                               static_cast<i32>(static_cast<short>(HIWORD(lparam))));
        if (m_mouse_down_taken)
            return true;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (m_control)
            fire_event(m_control, kEditMouseUp, static_cast<i32>(static_cast<short>(LOWORD(lparam))),
                       static_cast<i32>(static_cast<short>(HIWORD(lparam))));
        if (std::exchange(m_mouse_down_taken, false))
            return true;
        break;
    case WM_KILLFOCUS:
        if (focus_pane() == this)
            move_focus(nullptr);
        break;
    case WM_NCDESTROY: ForgetWindow(); return false;
    default: break;
    }
    return false;
}

// ---- Clipboard and the Edit menu --------------------------------------------------------

void EditPane::Cut()
{
    if (!m_window || m_password)
        return;
    EditThenNotify([&] {
        ForgetText();
        SendMessageW(m_window, WM_CUT, 0, 0);
    });
}

void EditPane::Copy()
{
    if (m_window && !m_password)
        SendMessageW(m_window, WM_COPY, 0, 0);
}

void EditPane::Paste()
{
    if (!m_window || !system_clipboard_has_text())
        return;
    EditThenNotify([&] { ReplaceSelection(system_clipboard_unicode_text()); });
}

void EditPane::Clear()
{
    if (!m_window)
        return;
    EditThenNotify([&] { ReplaceSelection(std::u16string()); });
}

void EditPane::EnableMenuItems()
{
    RuntimeObject* bar = current_menu_bar();
    if (!bar || !m_control)
        return;
    const EditFieldObject* f = edit_fields(m_control);
    auto enable = [bar](const char* name) {
        StringRef key = StringRef::FromCString(name);
        if (const ObjectRef item = ObjectRef::adopt(RuntimeMenuItemLookup(bar, key.get())); !item.is_nil())
            RuntimeMenuItemEnabledSetter(item.get(), 1);
    };
    if (HasSelection()) {
        if (!f->readOnly && !m_password)
            enable("EditCut");
        if (!f->readOnly)
            enable("EditClear");
        if (!m_password)
            enable("EditCopy");
    }
    if (!f->readOnly && system_clipboard_has_text())
        enable("EditPaste");
}

bool EditPane::DoMenuCommand(RuntimeObject* item)
{
    if (!item || !m_control)
        return false;
    StringRef name = StringRef::adopt(RuntimeMenuItemNameGetter(item));
    if (name.is_nil())
        return false;
    const EditFieldObject* f = edit_fields(m_control);
    const bool selection = HasSelection();
    if (name.CompareNoCase(StringRef::FromCString("EditCut")) == 0) {
        if (selection && !f->readOnly && !m_password)
            Cut();
    } else if (name.CompareNoCase(StringRef::FromCString("EditCopy")) == 0) {
        if (selection && !m_password)
            Copy();
    } else if (name.CompareNoCase(StringRef::FromCString("EditClear")) == 0) {
        if (selection && !f->readOnly)
            Clear();
    } else if (name.CompareNoCase(StringRef::FromCString("EditPaste")) == 0) {
        if (!f->readOnly)
            Paste();
    } else {
        return false;
    }
    return true;
}

// ---- Positions --------------------------------------------------------------------------

i32 EditPane::LineAtChar(i32 position) const
{
    return m_window ? static_cast<i32>(SendMessageW(m_window, EM_EXLINEFROMCHAR, 0, position)) : 0;
}

i32 EditPane::CharAtLine(i32 line) const
{
    if (!m_window)
        return 0;
    const LRESULT at = SendMessageW(m_window, EM_LINEINDEX, line, 0);
    return at < 0 ? 0 : static_cast<i32>(at);
}

i32 EditPane::CharAtPoint(i32 x, i32 y) const
{
    if (!m_window)
        return 0;
    POINTL point{x, y};
    return static_cast<i32>(SendMessageW(m_window, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point)));
}

i32 EditPane::FirstVisibleLine() const
{
    return m_window ? static_cast<i32>(SendMessageW(m_window, EM_GETFIRSTVISIBLELINE, 0, 0)) : 0;
}

i32 EditPane::HorizontalScroll() const
{
    if (!m_window)
        return 0;
    POINT at{0, 0};
    SendMessageW(m_window, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
    return at.x;
}

}  // namespace qv::ui
