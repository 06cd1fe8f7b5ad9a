#pragma once
// The few values used last, each found by its key: a handful of fonts, a few measured texts.
// The one used longest ago makes room for a new one, so what a hostile page or an endless batch
// asks for never grows past the capacity. A linear search: it holds a few dozen at most.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

template <typename Key, typename Value>
class TRLRecentlyUsed
{
public:
    explicit TRLRecentlyUsed(std::size_t capacity) : m_capacity(capacity) {}

    // The value kept for the key, or the one make() gives, kept from now on.
    template <typename Make>
    Value &Get(const Key &key, Make make)
    {
        const auto known = std::find_if(m_entries.begin(), m_entries.end(),
                                        [&](const auto &entry) { return entry.first == key; });
        if (known != m_entries.end()) {
            std::rotate(known, known + 1, m_entries.end());
            return m_entries.back().second;
        }
        Value made = make();
        if (m_entries.size() >= m_capacity)
            m_entries.erase(m_entries.begin());
        m_entries.emplace_back(key, std::move(made));
        return m_entries.back().second;
    }

private:
    std::size_t m_capacity;
    std::vector<std::pair<Key, Value>> m_entries; // latest used last
};
