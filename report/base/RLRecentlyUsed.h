#pragma once
// The few values used last, each found by its key: a handful of fonts, a few measured texts.
// The one used longest ago makes room for a new one, so what a hostile page or an endless batch
// asks for never grows past the capacity, nor, where values weigh, past a total weight. A linear
// search: it holds a few dozen at most.

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

template <typename Key, typename Value>
class TRLRecentlyUsed
{
public:
    using WeightOf = std::size_t (*)(const Value &);

    explicit TRLRecentlyUsed(std::size_t capacity, std::size_t maxWeight = std::numeric_limits<std::size_t>::max(),
                             WeightOf weightOf = nullptr)
        : m_capacity(capacity), m_maxWeight(maxWeight), m_weightOf(weightOf)
    {
    }

    // The value kept for the key, or the one make() gives, kept from now on unless it alone
    // weighs more than all may. Valid until the next call.
    template <typename Make>
    Value &Get(const Key &key, Make make)
    {
        m_unkept = Value();
        const auto known = std::find_if(m_entries.begin(), m_entries.end(),
                                        [&](const Entry &entry) { return entry.key == key; });
        if (known != m_entries.end()) {
            std::rotate(known, known + 1, m_entries.end());
            return m_entries.back().value;
        }
        Value made = make();
        const std::size_t weight = m_weightOf ? m_weightOf(made) : 0;
        if (weight > m_maxWeight) {
            m_unkept = std::move(made);
            return m_unkept;
        }
        while (!m_entries.empty() && (m_entries.size() >= m_capacity || m_weight + weight > m_maxWeight)) {
            m_weight -= m_entries.front().weight;
            m_entries.erase(m_entries.begin());
        }
        m_entries.push_back({key, std::move(made), weight});
        m_weight += weight;
        return m_entries.back().value;
    }

private:
    struct Entry
    {
        Key key;
        Value value;
        std::size_t weight;
    };

    std::size_t m_capacity;
    std::size_t m_maxWeight;
    WeightOf m_weightOf;
    std::size_t m_weight = 0;
    std::vector<Entry> m_entries; // latest used last
    Value m_unkept;               // made but too heavy to keep: held only until the next call
};
