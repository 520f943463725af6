#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace office::sheet {

/// The RC4 stream cipher, as Office's binary-file encryption uses it.
class Rc4 {
public:
    explicit Rc4(const QByteArray &key);
    /// XORs the next keystream bytes into data.
    void apply(char *data, qsizetype size);
    void apply(QByteArray &data) { apply(data.data(), data.size()); }

private:
    std::array<std::uint8_t, 256> m_state{};
    std::uint8_t m_i = 0;
    std::uint8_t m_j = 0;
};

}  // namespace office::sheet
