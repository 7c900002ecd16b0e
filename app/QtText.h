#pragma once
// UTF-8 bytes, a text of the catalogue most often, as a Qt string.

#include <QString>

#include <string_view>

namespace karvel {

inline QString QtText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace karvel
