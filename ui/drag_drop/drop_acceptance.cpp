#include "ui/drag_drop/drop_acceptance.h"

#include <algorithm>

#include "framework/file_types.h"
#include "framework/nocase_text.h"
#include "runtime/strings/string_ref.h"

namespace qv::ui {
namespace {

bool listed(const std::vector<std::string>& names, std::string_view name)
{
    return std::any_of(names.begin(), names.end(), [name](const std::string& n) { return equal_nocase(n, name); });
}

}  // namespace

std::string type_name_of(RuntimeString* type)
{
    const StringRef s = StringRef::share(type).ToUTF8();
    return s.is_nil() ? std::string() : std::string(reinterpret_cast<const char*>(s.bytes()), s.length());
}

void DropAcceptance::accept_file_type(std::string_view type)
{
    if (!listed(file_types, type))
        file_types.emplace_back(type);
}

void DropAcceptance::accept_mac_data(std::string_view type)
{
    if (!listed(mac_data_types, type))
        mac_data_types.emplace_back(type);
}

bool DropAcceptance::accepts_mac_data(std::string_view type) const { return listed(mac_data_types, type); }

std::vector<std::string> accepted_files(const DropAcceptance& acceptance, const DragOffer& offer)
{
    std::vector<std::string> out;
    for (const std::string& file : offer.files) {
        const bool of_a_type = std::any_of(acceptance.file_types.begin(), acceptance.file_types.end(),
                                           [&file](const std::string& type) { return file_is_of_type(file, type); });
        if (of_a_type)
            out.push_back(file);
    }
    return out;
}

bool accepts(const DropAcceptance& acceptance, const DragOffer& offer)
{
    if (acceptance.text && offer.text)
        return true;
    if (acceptance.picture && offer.picture)
        return true;
    for (const std::string& type : offer.mac_data_types)
        if (acceptance.accepts_mac_data(type))
            return true;
    return !accepted_files(acceptance, offer).empty();
}

}  // namespace qv::ui
