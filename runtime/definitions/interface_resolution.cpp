// Interface resolution: which routine of a class serves each method of the interfaces it
// declares, found by name in the definition and its ancestors, redone per generation.
#include <cstdio>
#include <cstring>

#include "runtime/definitions/class_registry.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/memory/pool_allocator.h"

namespace qv {
namespace {

u32 s_generation = 1;  // definitions start at 0, so every one is stale at first

const MethodNode* find_method(const ObjectDefinition* definition, RuntimeString* name)
{
    const StringRef wanted = StringRef::share(name);
    for (; definition; definition = definition->superDefinition)
        for (const MethodNode* node = definition->methods; node; node = node->next)
            if (StringRef::share(node->name).CompareNoCase(wanted) == 0)
                return node;
    return nullptr;
}

void report_missing(const ObjectDefinition* definition, const ObjectDefinition* interface_definition,
                    RuntimeString* method)
{
    char message[512];
    std::snprintf(message, sizeof message, "%s does not implement %s.%s", StringRef::share(definition->name).CText(),
                  StringRef::share(interface_definition->name).CText(), StringRef::share(method).CText());
    assertion_failed("ObjectDefinition", 2823, "interfaceMethod", message);
}

}  // namespace

u32 current_definition_generation() { return s_generation; }
void advance_definition_generation() { ++s_generation; }

bool resolve_interfaces(ObjectDefinition* definition)
{
    if (!definition || definition->isAnInterface || definition->resolvedGeneration == s_generation)
        return true;
    definition->resolvedGeneration = s_generation;
    for (InterfaceNode* node = definition->interfaces; node; node = node->next) {
        if (node->routines)
            GuardedDelete(node->routines);
        const ObjectDefinition* interface_definition = node->definition;
        i32 method_count = 0;
        for (const MethodNode* m = interface_definition ? interface_definition->methods : nullptr; m; m = m->next)
            ++method_count;
        node->tableSize = method_count + 1;
        const i32 bytes = node->tableSize * static_cast<i32>(sizeof(void*));
        node->routines = static_cast<void**>(GuardedNew(bytes));
        std::memset(node->routines, 0, static_cast<size_t>(bytes));
        i32 slot = 1;
        for (const MethodNode* m = interface_definition ? interface_definition->methods : nullptr; m;
             m = m->next, ++slot) {
            const MethodNode* found = find_method(definition, m->name);
            if (!found) {
                report_missing(definition, interface_definition, m->name);
                return false;
            }
            node->routines[slot] = found->routine;
        }
    }
    ObjectDefinition* super = definition->superDefinition;
    if (!definition->resolveSuperFirst && super && super->resolvedGeneration != s_generation)
        resolve_interfaces(super);
    return true;
}

}  // namespace qv
