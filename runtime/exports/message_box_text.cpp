#include "runtime/exports/message_box_text.h"

namespace qv {
namespace {

MessageBoxPresenter s_presenter = nullptr;

}  // namespace

MessageBoxText split_message_box_text(std::string_view text)
{
    const size_t blank = text.find("\r\n\r\n");
    if (blank == std::string_view::npos || blank == 0)
        return {std::string(text), {}};
    return {std::string(text.substr(0, blank)), std::string(text.substr(blank + 4))};
}

std::string compose_message_box_text(const MessageBoxText& parts)
{
    if (parts.explanation.empty())
        return parts.message;
    return parts.message + "\r\n\r\n" + parts.explanation;
}

MessageBoxPresenter set_message_box_presenter(MessageBoxPresenter presenter)
{
    MessageBoxPresenter previous = s_presenter;
    s_presenter = presenter;
    return previous;
}

MessageBoxPresenter message_box_presenter() { return s_presenter; }

}  // namespace qv
