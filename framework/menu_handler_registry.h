// Menu handlers registered by name (the application's and each window's mMenuHandlers): names
// compare ignoring case, a second registration under a name replaces the first, and the
// registry holds one count on every handler it keeps.
#pragma once

#include "runtime/collections/string_map.h"
#include "sdk/quaver.h"

namespace qv {

class MenuHandlerRegistry {
public:
    MenuHandlerRegistry();
    MenuHandlerRegistry(const MenuHandlerRegistry&) = delete;
    MenuHandlerRegistry& operator=(const MenuHandlerRegistry&) = delete;

    // Takes a count on `handler` and files it under `name`, giving back the count on a handler
    // it replaces. A nil handler is ignored; a nil name is the caller's assertion, so nothing
    // is filed under it.
    void Add(const StringRef& name, RuntimeObject* handler);
    // The handler filed under `name`, borrowed (no count added), or nullptr.
    RuntimeObject* Find(const StringRef& name) const;
    u32 count() const { return m_handlers.entryCount(); }

private:
    StringMap<RuntimeObject*> m_handlers;
};

}  // namespace qv
