// Argument helpers shared by the verbs.
#pragma once

#include <QDate>
#include <QSize>

#include <cstdint>
#include <optional>
#include <string_view>

namespace deskleaf::cli {

// A date written exactly as YYYY-MM-DD (years 1 to 9999), as a day serial.
std::optional<std::int32_t> parseDate(std::string_view text);
std::optional<QDate> parseQDate(std::string_view text);
// YYYY-MM
std::optional<QDate> parseMonth(std::string_view text);
// No screen is wider or taller than this, in pixels.
inline constexpr int kMaxScreenSide = 16384;
// WxH, both from 1 to kMaxScreenSide
std::optional<QSize> parseSize(std::string_view text);

} // namespace deskleaf::cli
