#include "office/sheet/Rc4.h"

#include <utility>

namespace office::sheet {

Rc4::Rc4(const QByteArray &key) {
    for (int i = 0; i < 256; ++i) m_state[std::size_t(i)] = std::uint8_t(i);
    if (key.isEmpty()) return;
    std::uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = std::uint8_t(j + m_state[std::size_t(i)] + std::uint8_t(key[i % key.size()]));
        std::swap(m_state[std::size_t(i)], m_state[j]);
    }
}

void Rc4::apply(char *data, qsizetype size) {
    for (qsizetype n = 0; n < size; ++n) {
        m_i = std::uint8_t(m_i + 1);
        m_j = std::uint8_t(m_j + m_state[m_i]);
        std::swap(m_state[m_i], m_state[m_j]);
        data[n] = char(std::uint8_t(data[n]) ^ m_state[std::uint8_t(m_state[m_i] + m_state[m_j])]);
    }
}

}  // namespace office::sheet
