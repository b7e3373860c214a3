// Identifiers of the header panel's controls.
#pragma once

namespace kelvo::HeaderIds {

constexpr int Link = 24;
constexpr int ByLabel = 25;
constexpr int Author = 26;
constexpr int SaveButton = 27;
constexpr int Explanation = 28;
constexpr int Title = 29;
constexpr int CodeBox = 30;
constexpr int CodeLabel = 31;
constexpr int ScoreLabel = 32;
constexpr int ScoreRule = 120;
constexpr int LeftRule = 121;
constexpr int RightRule = 122;

}  // namespace kelvo::HeaderIds
