#include "loader/runtime_import_resolver.h"

#include <cstring>
#include <deque>

#include "loader/message_text.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "runtime/registry/entry_point_registry.h"

namespace qv {
namespace {

bool ascii_equal_ignoring_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

void report_unbound_and_exit(const char* name)
{
    const std::string text = std::string("The application called the routine ") + name +
        ", which this runtime does not provide. The application must shut down.";
    platform::show_message("Application error", text.c_str());
    platform::exit_process(1);
}

UnboundImportHandler s_unbound_handler = &report_unbound_and_exit;

// Called by every stand-in with the name it stands for.
extern "C" void qv_unbound_import_called(const char* name) { s_unbound_handler(name); }

// One stand-in per missing name: "push name; mov eax, handler; call eax; add esp, 4; ret".
// Names and code live as long as the process, like the image that may call them.
const void* make_stand_in(std::string_view name)
{
    // A deque never moves its elements, so each name keeps its address for the process.
    static auto* s_names = new std::deque<std::string>;
    const auto text = static_cast<u32>(reinterpret_cast<uintptr_t>(s_names->emplace_back(escaped(name)).c_str()));
    const auto handler = static_cast<u32>(reinterpret_cast<uintptr_t>(&qv_unbound_import_called));
    const u8 code[] = {
        0x68,
        static_cast<u8>(text),
        static_cast<u8>(text >> 8),
        static_cast<u8>(text >> 16),
        static_cast<u8>(text >> 24),
        0xB8,
        static_cast<u8>(handler),
        static_cast<u8>(handler >> 8),
        static_cast<u8>(handler >> 16),
        static_cast<u8>(handler >> 24),
        0xFF,
        0xD0,  // call eax
        0x83,
        0xC4,
        0x04,  // add esp, 4
        0xC3,  // ret
    };
    platform::ExecRegion region;
    if (!platform::allocate_writable_region(sizeof code, region).ok())
        return reinterpret_cast<const void*>(&qv_unbound_import_called);
    std::memcpy(region.base, code, sizeof code);
    if (!platform::make_executable(region).ok())
        return reinterpret_cast<const void*>(&qv_unbound_import_called);
    return region.base;
}

}  // namespace

const LoadedLibraryList::Node& LoadedLibraryList::find_or_load(std::string_view file_name)
{
    for (auto it = m_nodes.rbegin(); it != m_nodes.rend(); ++it) {
        const std::string_view known(reinterpret_cast<const char*>(it->file_name.bytes()),
                                     static_cast<size_t>(it->file_name.length()));
        if (ascii_equal_ignoring_case(known, file_name))
            return *it;
    }
    const std::string name(file_name);
    m_nodes.push_back({StringRef::FromBytes(name.data(), static_cast<i32>(name.size())), platform::load_module(name)});
    return m_nodes.back();
}

LoadedLibraryList& loaded_libraries()
{
    static auto* s_list = new LoadedLibraryList;
    return *s_list;
}

void set_unbound_import_handler(UnboundImportHandler handler)
{
    s_unbound_handler = handler ? handler : &report_unbound_and_exit;
}

const void* RuntimeImportResolver::runtime_routine(std::string_view name)
{
    const EntryPoint* entry = entry_point_registry().FindEntryPoint(name);
    return entry ? entry->code : nullptr;
}

const void* RuntimeImportResolver::unbound_import(std::string_view name) { return make_stand_in(name); }

const void* RuntimeImportResolver::library_procedure(std::string_view library, std::string_view procedure,
                                                     std::string& message)
{
    const LoadedLibraryList::Node& node = loaded_libraries().find_or_load(library);
    if (!node.module) {
        message = "The application could not be loaded because a necessary shared library " + escaped(library) +
            " could not be found.";
        return nullptr;
    }
    void* address = platform::find_procedure(node.module, std::string(procedure));
    if (!address) {
        message = "The application could not be loaded because the routine " + escaped(procedure) +
            " could not be found in the shared library " + escaped(library) + ".";
        return nullptr;
    }
    return address;
}

}  // namespace qv
