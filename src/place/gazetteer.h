// The birthplace lists: 35 province items ("不考虑" and 34 numbered
// provinces) and the place items of each, in the order and spelling the
// input window has always shown, duplicates included.
#pragma once

#include <string_view>
#include <vector>

namespace tl {

inline constexpr int kProvinceCount = 35;  // list positions 0..34
// The longest place list (province 30); the place dimension of the
// longitude correction table.
inline constexpr int kMaxPlaceCount = 173;

// Item text of province list position 0..34 ("不考虑", "1北京", ...); empty
// outside.
std::string_view ProvinceItem(int provinceIndex);

// The place items of a province, in list order (position 0 is place 1). The
// selection of a freshly filled list is place 1.
std::vector<std::string_view> FillPlaceList(int provinceIndex);

// Number of places of a province; 0 outside 0..34.
int PlaceCount(int provinceIndex);

// Item text of place `placeIndex` (1-based) of a province; empty outside.
std::string_view PlaceItem(int provinceIndex, int placeIndex);

// The zone of the time-zone database whose clock a province kept:
// Asia/Hong_Kong, Asia/Macau and Asia/Taipei for 香港, 澳门 and 台湾,
// Asia/Shanghai for every other position, "不考虑" and any outside the list
// included.
std::string_view ProvinceZone(int provinceIndex);

}  // namespace tl
