#include "ui/windows/drop_data.h"

#include <shellapi.h>

#include <algorithm>

#include "framework/application/folder_item.h"
#include "runtime/text/encoding_tags.h"
#include "ui/clipboard/clipboard_class.h"
#include "ui/drag_drop/drag_item.h"

namespace qv::ui {
namespace {

FORMATETC format_of(CLIPFORMAT format) { return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool offers(IDataObject* data, CLIPFORMAT format)
{
    FORMATETC wanted = format_of(format);
    return format && data->QueryGetData(&wanted) == S_OK;
}

// The format's global block, copied out; false when the object does not give it.
bool read_block(IDataObject* data, CLIPFORMAT format, std::vector<u8>& out)
{
    FORMATETC wanted = format_of(format);
    STGMEDIUM medium{};
    if (!format || data->GetData(&wanted, &medium) != S_OK)
        return false;
    bool read = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        if (const void* bytes = GlobalLock(medium.hGlobal)) {
            const auto* begin = static_cast<const u8*>(bytes);
            out.assign(begin, begin + GlobalSize(medium.hGlobal));
            GlobalUnlock(medium.hGlobal);
            read = true;
        }
    }
    ReleaseStgMedium(&medium);
    return read;
}

StringRef utf8_of(std::wstring_view wide)
{
    return StringRef::FromWide(reinterpret_cast<const u16*>(wide.data()), static_cast<i32>(wide.size())).ToUTF8();
}

}  // namespace

CLIPFORMAT named_data_format(const std::string& type)
{
    return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(platform::win32::widen(type).c_str()));
}

StringRef read_dropped_text(IDataObject* data)
{
    std::vector<u8> block;
    if (read_block(data, CF_UNICODETEXT, block)) {
        std::wstring_view units(reinterpret_cast<const wchar_t*>(block.data()), block.size() / 2);
        return utf8_of(units.substr(0, units.find(L'\0')));
    }
    if (!read_block(data, CF_TEXT, block))
        return {};
    const auto end = std::find(block.begin(), block.end(), u8{0});
    const int n = static_cast<int>(end - block.begin());
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (n > 0) {
        const int made = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(block.data()), n, wide.data(), n);
        wide.resize(static_cast<size_t>(std::max(made, 0)));
    }
    return utf8_of(wide);
}

std::vector<std::string> read_dropped_files(IDataObject* data)
{
    std::vector<std::string> files;
    FORMATETC wanted = format_of(CF_HDROP);
    STGMEDIUM medium{};
    if (data->GetData(&wanted, &medium) != S_OK)
        return files;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        auto drop = static_cast<HDROP>(medium.hGlobal);
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
            if (path.empty())
                continue;
            DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
            files.push_back(platform::win32::narrow(path));
        }
    }
    ReleaseStgMedium(&medium);
    return files;
}

StringRef read_dropped_mac_data(IDataObject* data, const std::string& type)
{
    std::vector<u8> block;
    if (!read_block(data, named_data_format(type), block))
        return {};
    const auto end = std::find(block.begin(), block.end(), u8{0});
    StringRef s = StringRef::FromBytes(block.data(), static_cast<i32>(end - block.begin()));
    s.set_encoding(kEncodingUnknown);
    return s;
}

DragOffer read_drag_offer(IDataObject* data, const std::vector<std::string>& mac_data_types)
{
    DragOffer offer;
    if (!data)
        return offer;
    offer.text = offers(data, CF_UNICODETEXT) || offers(data, CF_TEXT);
    // Without the graphics layer's wrapping no Picture can be made, so none is offered.
    offer.picture = clipboard_picture_seam().get().from_dib && offers(data, CF_DIB);
    offer.files = read_dropped_files(data);
    for (const std::string& type : mac_data_types)
        if (offers(data, named_data_format(type)))
            offer.mac_data_types.push_back(type);
    return offer;
}

RuntimeObject* make_dropped_item(IDataObject* data, const DropAcceptance& acceptance, const DragOffer& offer, i32 x,
                                 i32 y)
{
    const ObjectRef item = ObjectRef::adopt(new_drag_item(x, y, 0, 0));
    DragItemState* state = drag_item_state(item.get());
    if (!state)
        return nullptr;
    bool carries = false;
    const std::vector<std::string> files = accepted_files(acceptance, offer);
    for (size_t i = 0; i < files.size(); ++i) {
        StringRef path = StringRef::FromBytes(files[i].data(), static_cast<i32>(files[i].size()));
        path.set_encoding(kEncodingUTF8);
        ObjectRef folder = ObjectRef::adopt(new_folder_item(path));
        if (folder.is_nil())
            continue;
        if (carries)
            DragItemAddItem(item.get(), x, y, 0, 0);
        state->entries[state->current].folder_item = std::move(folder);
        carries = true;
    }
    DragEntry& first = state->entries.front();
    if (acceptance.text && offer.text) {
        first.text = read_dropped_text(data);
        carries |= !first.text.is_nil();
    }
    if (acceptance.picture && offer.picture) {
        std::vector<u8> dib;
        if (read_block(data, CF_DIB, dib) && !dib.empty())
            first.picture =
                ObjectRef::adopt(clipboard_picture_seam().get().from_dib(dib.data(), static_cast<u32>(dib.size())));
        carries |= !first.picture.is_nil();
    }
    for (const std::string& type : offer.mac_data_types) {
        if (!acceptance.accepts_mac_data(type))
            continue;
        first.mac_data.push_back({type, read_dropped_mac_data(data, type), false});
        carries = true;
    }
    rewind_drag_item(item.get());
    return carries ? ObjectRef(item).leak() : nullptr;
}

}  // namespace qv::ui
