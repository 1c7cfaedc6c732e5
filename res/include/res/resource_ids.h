// Identifiers of the dialogs, controls, commands and strings, and the id arithmetic of the grids.
//
// Matches are indexed 0 to 12 and outcome columns 0, 1, 2 (outcomes 1, 0, 2), as in the core library.
// Example: purchaseBoxId(6, 1) == 1021 is the draw box of match 7; resultRadioId(0, 2) == 1081.
#pragma once

#include <array>

namespace pomelak {

// Dialog templates.
inline constexpr int kIddAbout = 100;
inline constexpr int kIddChecker = 102;
inline constexpr int kIddFourGroup = 135;
inline constexpr int kIddSupportRate = 136;

// Buttons every dialog shares.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Main window.
inline constexpr int kIdcFirstPurchaseBox = 1002;
inline constexpr int kIdcResultList = 1042;
inline constexpr int kIdcFirstCount = 1043;
inline constexpr int kIdcSecondCount = 1044;
inline constexpr int kIdcThirdCount = 1045;
inline constexpr int kIdcUnits = 1046;
inline constexpr int kIdcSingleOnly = 1047;
inline constexpr int kIdcResultFrame = 1065;
inline constexpr int kIdcListCaption = 1066;
inline constexpr int kIdcModeLabel = 1067;

// About box.
inline constexpr int kIdcMakerPage = 1049;

// Support-rate dialog: entry i of the table is shown in edit kIdcFirstRateEdit + i.
inline constexpr int kIdcFirstRateEdit = 1051;

// Commands.
inline constexpr unsigned kIdmAboutBox = 16;
inline constexpr int kIdModeChange = 32780;
inline constexpr int kIdFourGroupInput = 32772;
inline constexpr int kIdSupportRateInput = 32777;

// Strings.
inline constexpr int kIdsAboutBox = 101;

constexpr int purchaseBoxId(int match, int column) {
    return kIdcFirstPurchaseBox + 3 * match + column;
}

// Match 1's radios 1041, 1080, 1081 stand apart from the run 1082... of matches 2 to 13.
constexpr int resultRadioId(int match, int column) {
    if (match == 0) {
        return column == 0 ? 1041 : 1079 + column;
    }
    return 1082 + 3 * (match - 1) + column;
}

constexpr int rateEditId(int entry) {
    return kIdcFirstRateEdit + entry;
}

// Four-group dialog: the radio of a match, prediction column (basic, small upset, medium upset) and
// outcome column. The ids of a triple are consecutive; the triples themselves follow the dialog's layout.
constexpr int fourGroupRadioId(int match, int predictionColumn, int outcomeColumn) {
    constexpr std::array<std::array<int, 3>, 13> kTripleStart{{
        {1050, 1065, 1074},
        {1059, 1068, 1077},
        {1062, 1071, 1080},
        {1083, 1092, 1101},
        {1086, 1095, 1104},
        {1089, 1098, 1107},
        {1110, 1119, 1128},
        {1113, 1122, 1131},
        {1116, 1125, 1134},
        {1137, 1146, 1155},
        {1140, 1149, 1158},
        {1143, 1152, 1161},
        {1164, 1167, 1170},
    }};
    return kTripleStart[static_cast<std::size_t>(match)][static_cast<std::size_t>(predictionColumn)] +
           outcomeColumn;
}

} // namespace pomelak
