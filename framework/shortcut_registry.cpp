#include "framework/shortcut_registry.h"

#include "framework/nocase_text.h"

namespace qv {

std::vector<ShortcutEntry>::const_iterator ShortcutRegistry::find(u32 target, u32 kind) const
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->target == target && it->kind == kind)
            return it;
    return m_entries.end();
}

void ShortcutRegistry::Register(u32 target, u32 kind, std::string_view text)
{
    Unregister(target, kind);
    m_entries.insert(m_entries.begin(), ShortcutEntry{target, kind, std::string(text)});
}

void ShortcutRegistry::Unregister(u32 target, u32 kind)
{
    const auto it = find(target, kind);
    if (it != m_entries.end())
        m_entries.erase(it);
}

bool ShortcutRegistry::Walk(std::string_view text, const std::function<bool(const ShortcutEntry&)>& act) const
{
    std::vector<ShortcutEntry> matches;
    for (const ShortcutEntry& entry : m_entries)
        if (equal_nocase(entry.text, text))
            matches.push_back(entry);
    for (const ShortcutEntry& match : matches) {
        const auto current = find(match.target, match.kind);
        if (current == m_entries.end() || current->text != match.text)
            continue;
        if (act(match))
            return true;
    }
    return false;
}

ShortcutRegistry& shortcut_registry()
{
    static ShortcutRegistry s_registry;
    return s_registry;
}

}  // namespace qv
