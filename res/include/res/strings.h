// The program's fixed texts: the string table (looked up by id, as the system menu and the toolbar do)
// and the texts of its messages.
//
// Example: loadString(kIdsAboutBox) is "Pomelak のﾊﾞｰｼﾞｮﾝ情報(&A)..."; loadString(4711) is "".
#pragma once

#include <array>
#include <string_view>

namespace pomelak {

// The text of a string id, or "" when the table has none.
std::string_view loadString(int id);

inline constexpr std::string_view kNoMarkMessage =
    "購入マルチの項目は１～１３までどれか1個は必ず選んでください。";
inline constexpr std::string_view kNoMarkCaption = "購入マルチ入力エラー";
inline constexpr std::string_view kTooManyUnitsMessage = "最大購入口数は96口までです。\n"
                                                         "ダブルのみならダブル6個まで\n"
                                                         "トリプルのみならトリプル4個までにしてください。";
inline constexpr std::string_view kTooManyUnitsCaption = "購入口数エラー";
inline constexpr std::string_view kSwitchToMultiCheckMessage = "マルチチェックモードに切り替えてください";
// Follows the number of singles listed, with nothing between.
inline constexpr std::string_view kExpandedSuffix = "個展開しました。";
inline constexpr std::string_view kYenSuffix = "円";

// A paste that cannot be taken, and nothing changed: the rates' refusals in the order of PasteRefusal, with
// the line (%1) and field (%2) where the block was refused and that field's text (%3); results that are not
// 13 outcomes.
inline constexpr std::string_view kPasteErrorCaption = "貼り付けエラー";
inline constexpr std::array<std::string_view, 5> kRatePasteRefusals{
    "%1行目が空です。", "%1行目の%2番目が空です。", "%1行目の%2番目「%3」は数値として読めません。",
    "%1行目の%2番目は13試合目より下にはみ出します。", "%1行目の%2番目はアウェイの列より右にはみ出します。"};
inline constexpr std::string_view kRatePasteUnchanged = "支持率は変更していません。";
inline constexpr std::string_view kResultPasteExpected = "13試合分の結果（1・0・2）を貼り付けてください。";

// Captions that change with the operating mode.
inline constexpr std::string_view kResultFrameMultiCheck = "結果入力";
inline constexpr std::string_view kResultFramePayout = "予想入力";
inline constexpr std::string_view kListCaptionMultiCheck = "シングル分解結果";
inline constexpr std::string_view kListCaptionPayout = "予想配当金計算結果";
inline constexpr std::string_view kModeLabelMultiCheck = "マルチチェックモード";
inline constexpr std::string_view kModeLabelPayout = "１等配当金予想モード";

// Labels of the four count fields, first prize to units; screen readers name the fields by them too.
inline constexpr std::array<std::string_view, 4> kCountFieldLabels{"1等当選個数", "2等当選個数",
                                                                   "3等当選個数", "購入口数"};
// Column headings of the support-rate dialog (outcomes 1, 0, 2) and of the four-group dialog.
inline constexpr std::array<std::string_view, 3> kRateColumnNames{"ホーム", "引き分け", "アウェイ"};
inline constexpr std::array<std::string_view, 3> kPredictionColumnNames{"基本", "小波乱", "中波乱"};

// Accessible names of the grid controls, "購入 試合7 0" for the purchase box of match 7's draw.
inline constexpr std::string_view kPurchaseGridName = "購入";
inline constexpr std::string_view kResultGridName = "結果";
inline constexpr std::string_view kRateGridName = "支持率";
inline constexpr std::string_view kMatchWord = "試合";

// Items of the result list's own menu.
inline constexpr std::string_view kCopyRowsItem = "コピー(&C)";
inline constexpr std::string_view kSelectAllRowsItem = "すべて選択(&A)";

// The maker's web page that the About box opens.
inline constexpr std::string_view kMakerPageUrl = "https://www.zelvanu.example/pomelak/";

} // namespace pomelak
