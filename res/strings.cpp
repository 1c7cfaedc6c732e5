#include "res/strings.h"

#include "res/resource_ids.h"

#include <array>
#include <utility>

namespace pomelak {

std::string_view loadString(int id) {
    constexpr std::array<std::pair<int, std::string_view>, 4> kTable{{
        {kIdsAboutBox, "Pomelak のﾊﾞｰｼﾞｮﾝ情報(&A)..."},
        {kIdModeChange, "モード変更"},
        {kIdFourGroupInput, "４群マルチ入力"},
        {kIdSupportRateInput, "支持率入力"},
    }};
    for (const auto& [key, text] : kTable) {
        if (key == id) {
            return text;
        }
    }
    return {};
}

} // namespace pomelak
