// The program's fixed texts: the string table (looked up by id, as the system menu and the toolbar do)
// and the texts of its messages.
//
// Example: loadString(kIdsAboutBox) is "Pomelak のﾊﾞｰｼﾞｮﾝ情報(&A)..."; loadString(4711) is "".
#pragma once

#include <string_view>

namespace pomelak {

// The text of a string id, or "" when the table has none.
std::string_view loadString(int id);

inline constexpr std::string_view kNoMarkMessage = "購入マルチの項目は１～１３までどれか1個は必ず選んでください。";
inline constexpr std::string_view kNoMarkCaption = "購入マルチ入力エラー";
inline constexpr std::string_view kTooManyUnitsMessage = "最大購入口数は96口までです。\n"
                                                        "ダブルのみならダブル6個まで\n"
                                                        "トリプルのみならトリプル4個までにしてください。";
inline constexpr std::string_view kTooManyUnitsCaption = "購入口数エラー";
inline constexpr std::string_view kSwitchToMultiCheckMessage = "マルチチェックモードに切り替えてください";
// Follows the number of singles listed, with nothing between.
inline constexpr std::string_view kExpandedSuffix = "個展開しました。";
inline constexpr std::string_view kYenSuffix = "円";

// Captions that change with the operating mode.
inline constexpr std::string_view kResultFrameMultiCheck = "結果入力";
inline constexpr std::string_view kResultFramePayout = "予想入力";
inline constexpr std::string_view kListCaptionMultiCheck = "シングル分解結果";
inline constexpr std::string_view kListCaptionPayout = "予想配当金計算結果";
inline constexpr std::string_view kModeLabelMultiCheck = "マルチチェックモード";
inline constexpr std::string_view kModeLabelPayout = "１等配当金予想モード";

// The maker's web page that the About box opens.
inline constexpr std::string_view kMakerPageUrl = "https://www.zelvanu.example/pomelak/";

} // namespace pomelak
