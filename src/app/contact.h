#pragma once

// Who made Kaleidra and where to write: shown on the main tab and used by the mail button.
inline constexpr const char* kCreditText = "the Kaleidra project";
inline constexpr const char* kContactAddressA = "kaleidra@example.org";
inline constexpr const char* kContactAddressB = "tilings@example.org";
