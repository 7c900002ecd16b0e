#pragma once
// What the status bar's two panels show for the list's state.

#include <string>
#include <string_view>

#include "targets/TargetList.h"

namespace karvel {

inline constexpr std::string_view kStsDropFiles = "対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい";
inline constexpr std::string_view kStsLoading = "ﾌｧｲﾙ情報取得中 ・・・";
inline constexpr std::string_view kStsPressStart = "Startボタンを押下してください";

// StsBarText: after a run it asks for a drop as an empty list does.
constexpr std::string_view StsBarTextOf(ListState state) {
    switch (state) {
        case ListState::Loading:
            return kStsLoading;
        case ListState::Ready:
            return kStsPressStart;
        case ListState::Empty:
        case ListState::Spent:
            break;
    }
    return kStsDropFiles;
}

// StsBarCnt: the row count once a drop has listed rows, and still after a run.
inline std::string StsBarCntOf(const TargetList& list) {
    const ListState state = list.State();
    if (state != ListState::Ready && state != ListState::Spent) return {};
    return std::to_string(list.RowCount());
}

}  // namespace karvel
