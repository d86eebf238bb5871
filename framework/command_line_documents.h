// The documents named on the command line, and which start-up events deliver them.
//
// The text is a byte string. The Win32 side reads the process's command line with the wide
// call and hands it over as UTF-8, so paths outside the ANSI code page survive; the split
// looks only at the ASCII space and double quote, which never occur inside a multi-byte
// character of UTF-8 (nor of the ANSI code pages the runtime supports), so either form splits
// correctly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The command line without the program's own path at its front: after a leading double
// quote, everything up to and including the next one; otherwise everything before the first
// space (the space stays). A program path that is the whole line leaves nothing, also when
// its closing quote is missing.
std::string_view command_line_after_program(std::string_view command_line);

// Splits what follows the program path: spaces between arguments are skipped; an argument
// that starts with a double quote runs to the next double quote (or the end of the text),
// both quotes dropped; any other argument runs to the next space. A quoted argument with
// nothing between its quotes names no document and is left out.
std::vector<std::string> split_document_arguments(std::string_view arguments);

struct DocumentDelivery {
    std::vector<std::string> open_documents;  // one OpenDocument each, in this order
    bool new_document = false;                // NewDocument instead
};

// What start-up delivers after the application's Open event. A handler with an empty rest
// of the line gets NewDocument; with a rest of spaces only it gets nothing at all.
DocumentDelivery plan_document_delivery(std::string_view command_line, bool has_application,
                                        bool has_open_document_handler);

}  // namespace qv
