#include "framework/menu_handler_registry.h"

namespace qv {
namespace {

void release_handler(RuntimeObject*& handler) { RuntimeUnlockObject(handler); }

}  // namespace

// Few names per registry: a small table, which the map doubles if an application has many.
MenuHandlerRegistry::MenuHandlerRegistry() : m_handlers(16, {&release_handler}) { }

void MenuHandlerRegistry::Add(const StringRef& name, RuntimeObject* handler)
{
    if (name.is_nil() || !handler)
        return;
    RuntimeLockObject(handler);  // before the old one goes: it may be the same object
    m_handlers.Insert(name, handler);
}

RuntimeObject* MenuHandlerRegistry::Find(const StringRef& name) const
{
    RuntimeObject* handler = nullptr;
    return m_handlers.Find(name, &handler) ? handler : nullptr;
}

}  // namespace qv
