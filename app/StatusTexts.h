#pragma once
// What the status bar's two panels show for the list.

#include <string>
#include <string_view>

#include "targets/TargetList.h"
#include "texts/RunTexts.h"
#include "texts/WindowTexts.h"

namespace karvel {

// StsBarText: after a run it asks for a drop as an empty list does.
constexpr std::string_view StsBarTextOf(ListState state) {
    switch (state) {
        case ListState::Loading:
            return kStatusLoading;
        case ListState::Ready:
            return kStatusReady;
        case ListState::Empty:
        case ListState::Spent:
            break;
    }
    return kMsgNoTargets;
}

// StsBarCnt: the row count once a drop has listed rows, and still after a run.
inline std::string StsBarCntOf(const TargetList& list) {
    const bool counted = list.State() == ListState::Ready || list.State() == ListState::Spent;
    return counted ? std::to_string(list.RowCount()) : std::string();
}

}  // namespace karvel
