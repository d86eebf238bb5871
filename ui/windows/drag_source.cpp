#include "ui/windows/drag_source.h"

#include <shlobj.h>

#include <cstring>
#include <string>
#include <utility>

#include "runtime/exceptions/callback_guard.h"
#include "runtime/strings/string_ref.h"
#include "ui/drag_drop/drag_item.h"
#include "ui/windows/drop_data.h"
#include "ui/windows/mouse_tracking.h"

namespace qv::ui {
namespace {

// Ends the drag when the buttons are released (a drop) or Escape is pressed (a cancel).
class DropSource final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_refs);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        if (escape)
            return DRAGDROP_S_CANCEL;
        if (!(keys & (MK_LBUTTON | MK_RBUTTON)))
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ~DropSource() = default;
    LONG m_refs = 1;
};

bool s_drag_finished = false;

std::wstring wide_of(const StringRef& text)
{
    const StringRef utf16 = text.ToUTF16();
    if (utf16.is_nil())
        return {};
    return std::wstring(static_cast<const wchar_t*>(utf16.WideText()), static_cast<size_t>(utf16.length() / 2));
}

}  // namespace

HGLOBAL global_block(const void* bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    if (void* at = GlobalLock(block)) {
        std::memcpy(at, bytes, size);
        GlobalUnlock(block);
        return block;
    }
    GlobalFree(block);
    return nullptr;
}

HGLOBAL file_drop_block(const std::vector<std::wstring>& paths)
{
    std::wstring list;
    for (const std::wstring& path : paths) {
        list += path;
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    std::string block(sizeof(DROPFILES) + list.size() * sizeof(wchar_t), '\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof header);
    std::memcpy(block.data() + sizeof header, list.data(), list.size() * sizeof(wchar_t));
    return global_block(block.data(), block.size());
}

DragDataObject::~DragDataObject()
{
    for (const Block& block : m_blocks)
        GlobalFree(block.data);
}

void DragDataObject::Add(CLIPFORMAT format, HGLOBAL data)
{
    if (!format || !data)
        return;
    for (Block& block : m_blocks) {
        if (block.format == format) {
            GlobalFree(block.data);
            block.data = data;
            return;
        }
    }
    m_blocks.push_back({format, data});
}

const DragDataObject::Block* DragDataObject::find(const FORMATETC* format) const
{
    if (!format || !(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT)
        return nullptr;
    for (const Block& block : m_blocks)
        if (block.format == format->cfFormat)
            return &block;
    return nullptr;
}

HRESULT DragDataObject::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        *out = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG DragDataObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

ULONG DragDataObject::Release()
{
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

// Each reader gets its own copy of the block, which it frees with ReleaseStgMedium.
HRESULT DragDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (!medium)
        return E_INVALIDARG;
    const Block* block = find(format);
    if (!block)
        return DV_E_FORMATETC;
    const void* bytes = GlobalLock(block->data);
    if (!bytes)
        return E_OUTOFMEMORY;
    HGLOBAL copy = global_block(bytes, GlobalSize(block->data));
    GlobalUnlock(block->data);
    if (!copy)
        return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT DragDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT DragDataObject::QueryGetData(FORMATETC* format) { return find(format) ? S_OK : DV_E_FORMATETC; }

HRESULT DragDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
    if (out)
        out->ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT DragDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

HRESULT DragDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out)
{
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (const Block& block : m_blocks)
        formats.push_back({block.format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
    return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), out);
}

HRESULT DragDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT DragDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT DragDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

DragDataObject* drag_data_for(RuntimeObject* item)
{
    auto* data = new DragDataObject();
    const DragItemState* state = drag_item_state(item);
    if (!state)
        return data;
    std::vector<std::wstring> paths;
    for (const DragEntry& entry : state->entries) {
        if (entry.folder_item.is_nil())
            continue;
        const StringRef path = StringRef::adopt(fileAbsolutePathGetter(entry.folder_item.get(), 0));
        if (!path.is_nil() && path.length() > 0)
            paths.push_back(wide_of(path));
    }
    if (!paths.empty())
        data->Add(CF_HDROP, file_drop_block(paths));
    const DragEntry& first = state->entries.front();
    if (!first.text.is_nil()) {
        const std::wstring text = wide_of(first.text);
        data->Add(CF_UNICODETEXT, global_block(text.c_str(), (text.size() + 1) * sizeof(wchar_t)));
    }
    for (const MacDatum& datum : first.mac_data) {
        if (datum.is_private || datum.data.is_nil())
            continue;
        std::string bytes(reinterpret_cast<const char*>(datum.data.bytes()), static_cast<size_t>(datum.data.length()));
        data->Add(named_data_format(datum.type), global_block(bytes.c_str(), bytes.size() + 1));
    }
    return data;
}

void start_drag(RuntimeObject* item)
{
    DragDataObject* data = drag_data_for(item);
    if (!data->empty()) {
        auto* source = new DropSource();
        DWORD effect = DROPEFFECT_NONE;
        DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
        source->Release();
    }
    data->Release();
    s_drag_finished = true;
    if (capture_active())
        end_capture_with_mouse_up();
}

bool take_finished_drag() { return std::exchange(s_drag_finished, false); }

}  // namespace qv::ui
