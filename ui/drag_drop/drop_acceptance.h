// What a window or control takes when something is dropped on it (AcceptTextDrop,
// AcceptPictureDrop, AcceptFileDrop, AcceptMacDataDrop), and what a drag offers, as far as a
// drop target can tell before the drop.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct RuntimeString;

namespace qv::ui {

// A file or data type name as image code passes it, as UTF-8 (empty for nil).
std::string type_name_of(RuntimeString* type);

struct DropAcceptance {
    bool text = false;
    bool picture = false;
    std::vector<std::string> file_types;      // file type names (UTF-8), each once
    std::vector<std::string> mac_data_types;  // named data formats (UTF-8), each once

    void accept_file_type(std::string_view type);
    void accept_mac_data(std::string_view type);
    bool accepts_mac_data(std::string_view type) const;
    bool accepts_nothing() const { return !text && !picture && file_types.empty() && mac_data_types.empty(); }
};

struct DragOffer {
    bool text = false;
    bool picture = false;
    std::vector<std::string> files;           // paths (UTF-8)
    std::vector<std::string> mac_data_types;  // the named formats present
};

// The offered files the acceptance takes: those of one of its file types, in offered order.
std::vector<std::string> accepted_files(const DropAcceptance& acceptance, const DragOffer& offer);

// Whether a drop of the offer gives the receiver anything it accepts.
bool accepts(const DropAcceptance& acceptance, const DragOffer& offer);

}  // namespace qv::ui
