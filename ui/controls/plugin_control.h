// Plug-in controls: the hidden base class every plug-in control class is built on
// (RectControl plus the action receivers), whose CreatePane gives the instance a peer that
// drives the plug-in's paint and mouse callbacks on a "QV_Pane" child window.
#pragma once

#include <span>

#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

namespace qv::ui {

// Registers the base class under kPluginControlBaseName; plug-in classes are built on it later.
void register_plugin_control_class();

// The base class's CreatePane: builds the peer inside the initial parent's peer or the window's.
void create_plugin_control_pane(RuntimeObject* self);

std::span<const ProvidedRoutine> plugin_control_routines();

}  // namespace qv::ui
