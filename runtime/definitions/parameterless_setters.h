// Property setters of built-in classes that take (self, value) rather than (self, parameter,
// value): image code calls them directly in that form, so they keep it, and whoever calls a
// setter through a class's property table (the mass property table) asks here first. A
// built-in property record marks such a setter with kPropertySetterWithoutParameter; building
// its class enters the setter here.
#pragma once

namespace qv {

void add_parameterless_setter(const void* setter);
bool is_parameterless_setter(const void* setter);

}  // namespace qv
