#pragma once
// The names under which the persisted settings are stored.

namespace settingKeys {

inline constexpr const char* kSelectedBaseKey = "selectedBase";  // the conversion base, 2..24
inline constexpr const char* kUseSignedKey = "useSigned";        // two's complement for negatives
inline constexpr const char* kWordSizeKey = "wordSize";          // 0 (off), 8, 16, 32 or 64: WordSize::fromStored

}  // namespace settingKeys
