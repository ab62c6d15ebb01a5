#pragma once

namespace mlk {

// The integer with which a list opens an editor decides the one action the editor offers.
//   0, 7, 9 insert   1, 6, 8 update   2 delete   3 view   4 confirm
// Modes 0 to 4 belong to the same-level list (heading "同级公共机构基本信息"), 6 to 9 to the
// subordinate list ("下级公共机构基本信息"). Mode 5 and every other value are refused.
enum class EditorAction { Insert, Update, Delete, View, Confirm, Invalid };

constexpr EditorAction ActionOfMode(int mode) {
    switch (mode) {
        case 0:
        case 7:
        case 9:
            return EditorAction::Insert;
        case 1:
        case 6:
        case 8:
            return EditorAction::Update;
        case 2:
            return EditorAction::Delete;
        case 3:
            return EditorAction::View;
        case 4:
            return EditorAction::Confirm;
        default:
            return EditorAction::Invalid;
    }
}

constexpr bool IsSubordinateMode(int mode) {
    return mode >= 6 && mode <= 9;
}

// The modes the list windows use.
namespace mode {
inline constexpr int kInsertSameLevel = 0;
inline constexpr int kUpdateSameLevel = 1;
inline constexpr int kDelete = 2;
inline constexpr int kView = 3;
inline constexpr int kConfirm = 4;
inline constexpr int kUpdateAgency = 6;
inline constexpr int kInsertAgency = 7;
inline constexpr int kUpdateSubordinate = 8;
inline constexpr int kInsertSubordinate = 9;
}  // namespace mode

}  // namespace mlk
