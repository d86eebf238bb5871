// The built-in interfaces through which controls notify and bind one another without knowing
// each other's classes. They are registered like classes; an object's class lists the ones it
// implements in its interface table, and their methods are called by name.
#pragma once

#include "core/types.h"
#include "runtime/definitions/object_definition.h"
#include "sdk/quaver.h"

namespace qv::ui {

enum class BuiltInInterface : u8 {
    StringProvider,
    StringInterface,
    ListInterface,
    BooleanProvider,
    ActionSource,
    ActionNotificationReceiver,
    DataAvailableProvider,
    DataNotifier,
    DataNotificationReceiver,
    ListSelectionNotifier,
    ListSelectionNotificationReceiver,
    Binding,
    BindingPart,
    ListDataProvider,
    ListDataNotifier,
    ListDataNotificationReceiver,
    Tuple,
    Count
};

// The interface's definition, for a class's DefinitionSource::interfaces (the controls name
// these), and its class. Both register the interfaces first.
ObjectDefinition* interface_definition(BuiltInInterface which);
ClassRecord* interface_class(BuiltInInterface which);

// Registers every built-in interface; safe to call more than once.
void register_builtin_interfaces();

}  // namespace qv::ui
