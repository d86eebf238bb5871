// Dragging out of the program: a data object that holds global blocks by clipboard format,
// and the start of a DragItem's drag (DoDragDrop with the items' contents as Unicode text, a
// file drop of their FolderItems and their named data). Private named data never leaves the
// DragItem.
#pragma once

#include "platform/win32/windows_api.h"

#include <ole2.h>

#include <string>
#include <vector>

#include "sdk/quaver.h"

namespace qv::ui {

class DragDataObject final : public IDataObject {
public:
    DragDataObject() = default;
    DragDataObject(const DragDataObject&) = delete;
    DragDataObject& operator=(const DragDataObject&) = delete;

    // Takes over the block (GMEM_MOVEABLE) under the format, replacing an earlier one.
    void Add(CLIPFORMAT format, HGLOBAL block);
    bool empty() const { return m_blocks.empty(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

private:
    ~DragDataObject();
    struct Block {
        CLIPFORMAT format;
        HGLOBAL data;
    };
    const Block* find(const FORMATETC* format) const;

    LONG m_refs = 1;
    std::vector<Block> m_blocks;
};

// A global block holding a copy of the bytes; null on failure.
HGLOBAL global_block(const void* bytes, size_t size);
// A file drop (DROPFILES followed by the wide paths, each ending in a zero, and one more zero).
HGLOBAL file_drop_block(const std::vector<std::wstring>& paths);

// A new data object (one count, the caller's) with the DragItem's contents: the first item's
// text and named data, and every item's FolderItem as one file drop.
DragDataObject* drag_data_for(RuntimeObject* item);
// DragItem's Drag: runs the system's drag of the item's contents until the button is released
// or Escape pressed. The drag swallows the release: a capture held meanwhile ends with its
// MouseUp afterwards.
void start_drag(RuntimeObject* item);
// Whether a drag ran since the last call. A MouseDown handler that drags is answered after the
// capture was taken, which must then end at once, the release being gone.
bool take_finished_drag();

}  // namespace qv::ui
