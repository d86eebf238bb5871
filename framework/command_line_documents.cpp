#include "framework/command_line_documents.h"

namespace qv {

std::string_view command_line_after_program(std::string_view command_line)
{
    if (command_line.empty())
        return {};
    if (command_line.front() == '"') {
        const size_t close = command_line.find('"', 1);
        return close == std::string_view::npos ? std::string_view{} : command_line.substr(close + 1);
    }
    const size_t space = command_line.find(' ');
    return space == std::string_view::npos ? std::string_view{} : command_line.substr(space);
}

std::vector<std::string> split_document_arguments(std::string_view arguments)
{
    std::vector<std::string> documents;
    size_t i = 0;
    while (i < arguments.size()) {
        if (arguments[i] == ' ') {
            ++i;
            continue;
        }
        if (arguments[i] == '"') {
            const size_t start = i + 1;
            size_t end = arguments.find('"', start);
            if (end == std::string_view::npos)
                end = arguments.size();
            if (end > start)
                documents.emplace_back(arguments.substr(start, end - start));
            i = end + 1;
            continue;
        }
        size_t end = arguments.find(' ', i);
        if (end == std::string_view::npos)
            end = arguments.size();
        documents.emplace_back(arguments.substr(i, end - i));
        i = end;
    }
    return documents;
}

DocumentDelivery plan_document_delivery(std::string_view command_line, bool has_application,
                                        bool has_open_document_handler)
{
    DocumentDelivery delivery;
    const std::string_view rest = command_line_after_program(command_line);
    if (has_open_document_handler && !rest.empty())
        delivery.open_documents = split_document_arguments(rest);
    delivery.new_document = has_application && (!has_open_document_handler || rest.empty());
    return delivery;
}

}  // namespace qv
