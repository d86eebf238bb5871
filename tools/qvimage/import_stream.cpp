// Import records are keyed by mode and name, so each name is one chain per mode however many
// sites use it.
#include "tools/qvimage/import_stream.h"

namespace qvimage {

void ImportStreamBuilder::add_import_site(std::string_view name, ImportMode mode, u32 site)
{
    std::string key(1, static_cast<char>(mode));
    key.append(name);
    auto [it, inserted] = m_index.try_emplace(std::move(key), m_imports.size());
    if (inserted)
        m_imports.push_back(Import{std::string(name), mode, {}});
    m_imports[it->second].sites.push_back(site);
}

void ImportStreamBuilder::add_fixup(ImportTag tag, u32 site) { m_fixups.push_back(Fixup{tag, site}); }

std::vector<u8> ImportStreamBuilder::finish(std::vector<u8>& code) const
{
    std::vector<u8> stream;
    for (const Import& import : m_imports) {
        for (size_t i = 0; i < import.sites.size(); ++i)
            qv::store_u32(code.data() + import.sites[i], i + 1 < import.sites.size() ? import.sites[i + 1] : 0);
        qv::append_u8(stream, static_cast<u8>(ImportTag::RuntimeImport));
        qv::append_u8(stream, static_cast<u8>(import.mode));
        qv::append_u32(stream, import.sites.front());
        qv::append_u8(stream, static_cast<u8>(import.name.size()));
        stream.insert(stream.end(), import.name.begin(), import.name.end());
        qv::append_u8(stream, 0);
    }
    for (const Fixup& fixup : m_fixups) {
        qv::append_u8(stream, static_cast<u8>(fixup.tag));
        qv::append_u32(stream, fixup.site);
    }
    return stream;
}

}  // namespace qvimage
