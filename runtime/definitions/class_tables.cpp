// The routines a class's tables name, as the registry's provided routines.
#include "runtime/definitions/class_tables.h"

#include <cstring>
#include <deque>
#include <utility>

namespace qv {
namespace {

void add_named(std::vector<ProvidedRoutine>& out, const char* name, void* routine)
{
    if (!name || !routine)
        return;
    for (const ProvidedRoutine& known : out) {
        if (std::strcmp(known.name, name) == 0)
            return;
    }
    out.push_back({name, routine});
}

}  // namespace

std::vector<ProvidedRoutine> table_routines(std::initializer_list<ClassTableList> lists)
{
    std::vector<ProvidedRoutine> out;
    for (ClassTableList list : lists) {
        for (const ClassTables& tables : list) {
            for (const PropertyRecord& property : tables.properties) {
                add_named(out, property.getterExportName, property.getter);
                add_named(out, property.setterExportName, property.setter);
            }
            for (const MethodRecord& method : tables.methods) {
                add_named(out, method.exportName, method.routine);
                add_named(out, method.secondExportName, method.secondRoutine);
            }
        }
    }
    return out;
}

void add_table_routines(std::vector<ProvidedRoutine> routines)
{
    // The registry keeps spans over these lists: a deque never moves what it holds.
    static auto* s_lists = new std::deque<std::vector<ProvidedRoutine>>;
    add_provided_routines(s_lists->emplace_back(std::move(routines)));
}

}  // namespace qv
