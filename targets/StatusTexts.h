#pragma once
// The texts of the status panel that doubles as the list's state.

#include <string_view>

namespace karvel {

inline constexpr std::string_view kStsDropFiles = "対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい";
inline constexpr std::string_view kStsLoading = "ﾌｧｲﾙ情報取得中 ・・・";
inline constexpr std::string_view kStsPressStart = "Startボタンを押下してください";

}  // namespace karvel
